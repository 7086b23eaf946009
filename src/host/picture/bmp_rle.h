// The run-length encodings of BMP (RLE8, RLE4), which stb_image does not read, expanded
// to palette indexes. Every count is bounded by the picture's size: a row takes at most
// its width, and nothing is read once the last row is done.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillbit {

// A pixel no code reached: a delta or an end of line or picture passed over it.
constexpr std::uint16_t kSkippedPixel = 0xFFFF;

// The pixels of a width x height picture, rows in the order the data stores them (the
// bottom row first in a BMP), as palette indexes or kSkippedPixel. bitsPerPixel is 8 or 4.
// Throws PictureFault when the data ends before the picture does.
std::vector<std::uint16_t> ExpandBmpRle(std::string_view data, int width, int height,
                                        int bitsPerPixel);

}  // namespace quillbit
