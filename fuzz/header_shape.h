// The shape every header must have, checked line by line against the state it came
// from: CR LF line ends only, the two macros, and per plane its declaration and its
// values, each "0x" plus the element's number of upper-case digits, in full lines.
#pragma once

#include <string>

#include "driver/state/conversion_state.h"

namespace quillbit::fuzz {

// Aborts with the failed property unless text is the header of state named base.
void CheckHeaderShape(const std::string& text, const ConversionState& state,
                      const std::string& base);

}  // namespace quillbit::fuzz
