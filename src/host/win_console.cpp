#include "host/win_console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace quillbit {

Utf8Console::Utf8Console() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
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
