// Little-endian fields of the Windows file formats (icons, bitmaps), read and written.
#pragma once

#include <cstdint>
#include <string>

namespace quillbit {

// The size-byte unsigned field at `at`; the caller has checked the bytes are there.
inline std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// value as a field of size bytes, at most 4.
inline std::string LittleBytes(std::uint32_t value, int size = 4) {
  std::string bytes;
  for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
  return bytes;
}

}  // namespace quillbit
