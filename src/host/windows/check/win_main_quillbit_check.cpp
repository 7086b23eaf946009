// quillbit-check.exe: shows each sprite as quillbit converts it, and what would surprise.
#include "check/check_run.h"
#include "host/windows/check/win_check_platform.h"
#include "host/windows/win_console.h"

int wmain(int argc, wchar_t** argv) {
  quillbit::Utf8Console console;
  quillbit::WinCheckPlatform platform;
  return quillbit::RunCheck(platform, quillbit::Utf8Arguments(argc, argv));
}
