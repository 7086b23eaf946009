// quillbit: the terminal front end, for shells, scripts and Makefiles.
#include <unistd.h>

#include "driver/entry.h"
#include "host/common/terminal_options.h"
#include "host/linux/linux_host.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const std::optional<int> status = quillbit::AnswerTerminalOption(arguments)) return *status;
  quillbit::TerminalPresentation terminal(isatty(STDOUT_FILENO) != 0);
  quillbit::LinuxHost host(arguments, terminal);
  return quillbit::RunProgram(host);
}
