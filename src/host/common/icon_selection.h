// Icons hold several images; the converter takes the largest one, on every platform
// alike. The chosen image goes to a decoder on its own, an embedded PNG (as today's icon
// editors store big images) to the PNG reader, so no decoder's own choice counts.
#pragma once

#include <string>

namespace quillbit {

// True when bytes start like an icon or cursor file.
bool LooksLikeIcon(const std::string& bytes);

// The chosen image of an icon file: the one with the most pixels, then the most
// bits per pixel. Either an embedded PNG file, or a bitmap: a BMP's info header, then
// its palette, colour rows and mask rows.
struct IconImage {
  bool isPng = false;
  std::string file;
};

// Picks the image from the icon file bytes; a broken directory throws PictureFault.
IconImage SelectIconImage(const std::string& bytes);

}  // namespace quillbit
