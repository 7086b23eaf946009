// Pixels as the conversion reads them: one 0xAARRGGBB word each, whatever the machine's
// byte order.
#pragma once

#include <cstdint>

namespace quillbit {

// The word of a pixel stored as the bytes blue, green, red, alpha.
inline std::uint32_t ArgbFromBgra(const std::uint8_t* bgra) {
  return static_cast<std::uint32_t>(bgra[3]) << 24 | static_cast<std::uint32_t>(bgra[2]) << 16 |
         static_cast<std::uint32_t>(bgra[1]) << 8 | bgra[0];
}

}  // namespace quillbit
