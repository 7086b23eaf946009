// Sorts every pixel of the loaded picture into black, light grey, dark grey or background.
#pragma once

#include <cstdint>

#include "driver/state/conversion_state.h"
#include "host/host.h"

namespace quillbit {

// The exact colours that count; every other colour is background.
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kLightGrey = 0xAAAAAA;
constexpr std::uint32_t kDarkGrey = 0x555555;

// Reads the picture on the host's surface row by row into bytPlane1 and bytPlane2
// (already sized and zero) and sets blnGrey when a grey level occurs.
void ExtractBitplanes(ConversionState& state, const Host& host);

}  // namespace quillbit
