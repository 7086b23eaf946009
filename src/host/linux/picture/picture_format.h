// Which reader a picture file goes to, told by its first bytes (TGA, which has no
// signature, by its name).
#pragma once

#include <string>

namespace quillbit {

enum class PictureFormat { Png, Gif, Jpeg, Tiff, Webp, Bmp, Pnm, Tga, Icon, Refused };

struct IdentifiedFormat {
  PictureFormat format;
  // For Refused: why, in words for the report.
  std::string refusal;
};

IdentifiedFormat IdentifyFormat(const std::string& bytes, const std::string& path);

}  // namespace quillbit
