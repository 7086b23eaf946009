// quillbitw.exe: the desktop front end, started by Explorer with the pictures dropped
// onto it or onto a shortcut to it.
#include "driver/entry.h"
#include "host/windows/win_console.h"
#include "host/windows/win_host.h"
#include "host/windows/win_message_box.h"

int wmain(int argc, wchar_t** argv) {
  quillbit::Utf8Console console;  // for the terminal fallback
  quillbit::MessageBoxPresentation boxes(quillbit::StandardOutputIsConsole());
  quillbit::WinHost host(quillbit::Utf8Arguments(argc, argv), boxes);
  return quillbit::RunProgram(host);
}
