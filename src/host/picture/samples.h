// The 16-bit rule: a 16-bit sample becomes the 8-bit one of its high byte, in every
// reader. Only exact levels count, so the rule decides the picture: 0x00FF is black and
// 0xAAFF light grey, while 0x0100 and 0xAB00 are background. It is libpng's own
// reduction, which quillbit has always used, and it never makes a colour out of two
// neighbouring 8-bit ones, as rounding would (0x00FF rounds to 0x01).
#pragma once

#include <cstdint>

namespace quillbit {

constexpr std::uint8_t EightBitSample(std::uint16_t sample) {
  return static_cast<std::uint8_t>(sample >> 8);
}

}  // namespace quillbit
