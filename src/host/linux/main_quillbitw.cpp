// quillbitw: the desktop front end, started with the pictures dropped onto its launcher.
#include <unistd.h>

#include "driver/entry.h"
#include "host/linux/desktop/desktop_presentation.h"
#include "host/linux/linux_host.h"

int main(int argc, char** argv) {
  quillbit::DesktopPresentation boxes(isatty(STDOUT_FILENO) != 0);
  quillbit::LinuxHost host({argv + 1, argv + argc}, boxes);
  return quillbit::RunProgram(host);
}
