// quillbit.exe: the console front end, for cmd, PowerShell, scripts and makefiles.
#include "host/entry.h"
#include "host/win_console.h"
#include "host/win_host.h"

int wmain(int argc, wchar_t** argv) {
  quillbit::Utf8Console console;
  quillbit::TerminalPresentation terminal;
  quillbit::WinHost host(quillbit::Utf8Arguments(argc, argv), terminal);
  return quillbit::RunProgram(host);
}
