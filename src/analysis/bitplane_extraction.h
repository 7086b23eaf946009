// Sorts every pixel of the loaded picture into black, light grey, dark grey or background.
#pragma once

#include <cstdint>
#include <vector>

#include "driver/state/conversion_state.h"
#include "host/host.h"

namespace quillbit {

// The exact colours that count; every other colour is background.
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kLightGrey = 0xAAAAAA;
constexpr std::uint32_t kDarkGrey = 0x555555;
// The background a sprite is drawn on; any colour but the three levels is background too.
constexpr std::uint32_t kBackgroundWhite = 0xFFFFFF;

struct DrawingColour {
  const char* name;  // "light grey"
  std::uint32_t rgb;
};

// The four colours to draw a sprite in, darkest first, as the palette files name them.
const std::vector<DrawingColour>& DrawingColours();

// Reads the picture on the host's surface row by row into bytPlane1 and bytPlane2
// (already sized and zero) and sets blnGrey when a grey level occurs.
void ExtractBitplanes(ConversionState& state, const Host& host);

}  // namespace quillbit
