// quillbitw: the desktop front end, started with the pictures dropped onto its launcher.
#include "host/entry.h"
#include "host/sdl_host.h"

int main(int argc, char** argv) {
  quillbit::DesktopPresentation boxes;
  quillbit::SdlHost host({argv + 1, argv + argc}, boxes);
  return quillbit::RunProgram(host);
}
