// A picture file decoded into what the conversion reads: its size and its pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillbit {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // 0xAARRGGBB, row by row from the top
};

// Decodes the picture file held in bytes with the library made for its format. The
// size is checked against the limits from the format's header, before any pixel is
// decoded. Throws the report naming path when the file cannot be read.
Picture ReadPicture(const std::string& bytes, const std::string& path);

}  // namespace quillbit
