#include "host/windows/win_message_box.h"

#include <windows.h>

#include "host/windows/win_text.h"

namespace quillbit {

unsigned MessageBoxStyle(MessageKind kind) {
  return MB_OK | (kind == MessageKind::RunTimeError ? MB_ICONERROR : 0u);
}

namespace {

// A service or a scheduled task runs on a window station nobody sees: a box there
// would wait forever for a click.
bool DesktopIsVisible() {
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  HWINSTA station = GetProcessWindowStation();
  if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed))
    return true;  // no answer: let MessageBoxW itself decide
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

// The text keeps its CR LF breaks: a message box shows them as new lines. Where no box
// appears Windows gives no reason worth a line of its own, so why stays empty.
bool MessageBoxPresentation::ShowBox(const std::string& text, MessageKind kind, std::string&) {
  // A box that could not be made gives 0 on Windows and -1 under Wine without a
  // display; a dismissed box gives the button, which is positive.
  return DesktopIsVisible() &&
         MessageBoxW(nullptr, WideFromUtf8(text).c_str(), L"quillbit", MessageBoxStyle(kind)) > 0;
}

}  // namespace quillbit
