// quillbitw: the desktop front end, started with the pictures dropped onto its launcher.
#include "host/desktop_presentation.h"
#include "host/entry.h"
#include "host/linux_host.h"

int main(int argc, char** argv) {
  quillbit::DesktopPresentation boxes;
  quillbit::LinuxHost host({argv + 1, argv + argc}, boxes);
  return quillbit::RunProgram(host);
}
