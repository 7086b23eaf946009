// The companion header, built into the program: the browser has no program folder to
// copy it from. Its text is generated from companion/Blitview.h by the build.
#pragma once

#include <string_view>

namespace quillbit {

// The bytes of companion/Blitview.h.
std::string_view CompanionText();

}  // namespace quillbit
