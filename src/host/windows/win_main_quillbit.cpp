// quillbit.exe: the console front end, for cmd, PowerShell, scripts and makefiles.
#include "driver/entry.h"
#include "host/common/terminal_options.h"
#include "host/windows/win_console.h"
#include "host/windows/win_host.h"

int wmain(int argc, wchar_t** argv) {
  quillbit::Utf8Console console;
  const std::vector<std::string> arguments = quillbit::Utf8Arguments(argc, argv);
  if (const std::optional<int> status = quillbit::AnswerTerminalOption(arguments)) return *status;
  quillbit::TerminalPresentation terminal(quillbit::StandardOutputIsConsole());
  quillbit::WinHost host(arguments, terminal);
  return quillbit::RunProgram(host);
}
