// A sprite as four levels per pixel: what quillbit's two bitplanes hold.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "driver/state/conversion_state.h"

namespace quillbit {

enum class Level { Black, DarkGrey, LightGrey, Background };

constexpr std::array<Level, 4> kLevels = {Level::Black, Level::DarkGrey, Level::LightGrey,
                                          Level::Background};

struct Sprite {
  int width = 0;
  int height = 0;
  std::vector<Level> cells;  // row by row from the top

  Level At(int x, int y) const {
    return cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)];
  }
  friend bool operator==(const Sprite& a, const Sprite& b) {
    return a.width == b.width && a.height == b.height && a.cells == b.cells;
  }
};

// "black", "dark grey", "light grey" or "background".
const char* LevelName(Level level);
// The exact colour quillbit takes for a level, 0xRRGGBB; background has none and gives white.
std::uint32_t LevelColour(Level level);
// The level of a pixel whose plane-1 and plane-2 bits are given.
Level LevelOfBits(int plane1, int plane2);

// The sprite in the conversion state's bitplanes, intWidth x intHeight.
Sprite SpriteOfPlanes(const ConversionState& state);

// The pixels of each level, in kLevels order.
using LevelCounts = std::array<std::size_t, kLevels.size()>;
LevelCounts CountLevels(const Sprite& sprite);

// "Pixels: 34 black, 12 dark grey, 20 light grey, 190 background".
std::string LevelCountsText(const LevelCounts& counts);
// The same words around counts given as text, in kLevels order.
std::string LevelCountsWording(const std::array<std::string, kLevels.size()>& counts);

}  // namespace quillbit
