// Text that came from outside (file names, file content) made safe to show a person:
// no control character reaches a terminal or a box, so a name cannot move the cursor,
// paint the screen or send a terminal command.
#pragma once

#include <string>

namespace quillbit {

// text with every control character shown: \t, \r and \xNN for the C0 controls and DEL,
// \xC2\xNN for the C1 controls in UTF-8; everything else as it was.
std::string ControlsShown(const std::string& text);

// A message with its CR LF line breaks kept and every other control character shown.
std::string MessageShown(const std::string& text);

}  // namespace quillbit
