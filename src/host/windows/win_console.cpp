#include "host/windows/win_console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace quillbit {

namespace {

// A program started from Explorer may have no standard streams at all (descriptor -2),
// and _setmode on those would stop the process in the invalid-parameter handler.
void Untranslated(std::FILE* stream) {
  const int descriptor = _fileno(stream);
  if (descriptor >= 0) _setmode(descriptor, _O_BINARY);
}

}  // namespace

bool StandardOutputIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

Utf8Console::Utf8Console() {
  std::fflush(stdout);
  Untranslated(stdout);
  Untranslated(stderr);
  const UINT current = GetConsoleOutputCP();  // 0 without a console
  if (current != 0 && current != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
    previousCodePage_ = current;
}

Utf8Console::~Utf8Console() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (previousCodePage_ != 0) SetConsoleOutputCP(previousCodePage_);
}

}  // namespace quillbit
