// The size a PNG file's header claims, read by libpng without decoding a row.
// stb_image refuses to size a PNG of more than a gigabyte decoded, which is
// exactly the kind of file that must be refused early.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillbit {

struct PngSize {
  std::uint32_t width;
  std::uint32_t height;
};

// True when bytes start with the PNG signature.
bool LooksLikePng(const std::string& bytes);

// Width and height from the header, or nullopt when libpng cannot read it.
std::optional<PngSize> ReadPngSize(const std::string& bytes);

}  // namespace quillbit
