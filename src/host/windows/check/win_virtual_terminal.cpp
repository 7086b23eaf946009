#include "host/windows/check/win_virtual_terminal.h"

#include <windows.h>

#include <cstdio>

namespace quillbit {

VirtualTerminalOutput::VirtualTerminalOutput() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  // GetConsoleMode fails on a pipe, a file or no stream at all.
  if (output == nullptr || output == INVALID_HANDLE_VALUE || !GetConsoleMode(output, &mode)) return;
  isConsole_ = true;
  previousMode_ = mode;
  if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) {
    takesEscapes_ = true;
    return;
  }
  // Consoles older than Windows 10 refuse the mode; they get the plain drawing.
  takesEscapes_ = SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
  restore_ = takesEscapes_;
}

VirtualTerminalOutput::~VirtualTerminalOutput() {
  if (!restore_) return;
  std::fflush(stdout);
  SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), previousMode_);
}

}  // namespace quillbit
