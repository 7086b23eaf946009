#include "host/windows/win_text.h"

#include <windows.h>

#include <climits>

#include "host/run_end.h"

namespace quillbit {

namespace {

// The conversion functions count in int; anything longer than that is no path or header.
int Length(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) throw RunTimeError("text too long to convert");
  return static_cast<int>(size);
}

std::string NarrowFromWide(UINT codePage, const std::wstring& text) {
  if (text.empty()) return {};
  const int length = Length(text.size());
  const int size =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) throw RunTimeError("cannot convert text to code page " + std::to_string(codePage));
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int length = Length(text.size());
  const int size =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (size <= 0) throw RunTimeError("invalid UTF-8 in \"" + text + "\"");
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, out.data(), size);
  return out;
}

std::string Utf8FromWide(const std::wstring& text) { return NarrowFromWide(CP_UTF8, text); }

std::string AnsiFromUtf8(const std::string& text) {
  return NarrowFromWide(CP_ACP, WideFromUtf8(text));
}

}  // namespace quillbit
