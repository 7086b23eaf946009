#include "check/sprite.h"

#include <algorithm>

#include "analysis/bitplane_extraction.h"

namespace quillbit {

const char* LevelName(Level level) {
  switch (level) {
    case Level::Black: return "black";
    case Level::DarkGrey: return "dark grey";
    case Level::LightGrey: return "light grey";
    case Level::Background: break;
  }
  return "background";
}

std::uint32_t LevelColour(Level level) {
  switch (level) {
    case Level::Black: return kBlack;
    case Level::DarkGrey: return kDarkGrey;
    case Level::LightGrey: return kLightGrey;
    case Level::Background: break;
  }
  return 0xFFFFFF;
}

Level LevelOfBits(int plane1, int plane2) {
  if (plane1 != 0) return plane2 != 0 ? Level::Black : Level::LightGrey;
  return plane2 != 0 ? Level::DarkGrey : Level::Background;
}

Sprite SpriteOfPlanes(const ConversionState& state) {
  Sprite sprite;
  sprite.width = state.intWidth.get();
  sprite.height = state.intHeight.get();
  const int pixels = state.bytPlane1.UBound().get();
  sprite.cells.reserve(static_cast<std::size_t>(pixels));
  for (int k = 1; k <= pixels; ++k) {
    const Int16 pixel = Int16::FromInt(k);
    sprite.cells.push_back(LevelOfBits(state.bytPlane1(pixel), state.bytPlane2(pixel)));
  }
  return sprite;
}

LevelCounts CountLevels(const Sprite& sprite) {
  LevelCounts counts{};
  for (const Level level : sprite.cells) ++counts[static_cast<std::size_t>(level)];
  return counts;
}

std::string LevelCountsText(const LevelCounts& counts) {
  std::array<std::string, kLevels.size()> words;
  for (std::size_t i = 0; i < counts.size(); ++i) words[i] = std::to_string(counts[i]);
  return LevelCountsWording(words);
}

std::string LevelCountsWording(const std::array<std::string, kLevels.size()>& counts) {
  std::string text = "Pixels:";
  for (std::size_t i = 0; i < kLevels.size(); ++i)
    text += (i == 0 ? " " : ", ") + counts[i] + " " + LevelName(kLevels[i]);
  return text;
}

}  // namespace quillbit
