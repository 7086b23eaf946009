// The sprite header file: banner, size macros, one or two bitplane arrays.
#pragma once

#include <string>

#include "driver/state/conversion_state.h"
#include "host/host.h"

namespace quillbit {

// The header's path: the picture path less its last three characters, plus "h".
std::string HeaderPathFor(const std::string& picturePath);

// The complete header text for the current state, every line ended by CR LF.
std::string HeaderText(const ConversionState& state, const std::string& base);

// Writes the header of the current picture beside it, replacing any earlier one.
void WriteHeaderFile(ConversionState& state, Host& host, const std::string& path);

}  // namespace quillbit
