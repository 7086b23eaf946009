// Text at the edges of the Windows host: the program holds UTF-8, Windows calls
// take UTF-16, and header files are written in the system's 8-bit code page.
#pragma once

#include <string>

namespace quillbit {

// UTF-16 for a Windows call; invalid UTF-8 is a run-time error.
std::wstring WideFromUtf8(const std::string& text);

// UTF-8 for the program; unpaired surrogates become U+FFFD.
std::string Utf8FromWide(const std::wstring& text);

// The bytes of text in the ANSI code page; characters it lacks become its default character.
std::string AnsiFromUtf8(const std::string& text);

}  // namespace quillbit
