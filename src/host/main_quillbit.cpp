// quillbit: the terminal front end, for shells, scripts and Makefiles.
#include "host/entry.h"
#include "host/linux_host.h"

int main(int argc, char** argv) {
  quillbit::TerminalPresentation terminal;
  quillbit::LinuxHost host({argv + 1, argv + argc}, terminal);
  return quillbit::RunProgram(host);
}
