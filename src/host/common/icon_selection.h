// Icons hold several images; the converter takes the largest one. Today's icon
// editors store big images as embedded PNG, which the SDL_image ICO reader rejects,
// so the chosen image is handed to the loader on its own.
#pragma once

#include <string>

namespace quillbit {

// True when bytes start like an icon or cursor file.
bool LooksLikeIcon(const std::string& bytes);

// The chosen image of an icon file: the one with the most pixels, then the most
// bits per pixel. Either an embedded PNG file, or a one-image icon file.
struct IconImage {
  bool isPng = false;
  std::string file;
};

// Picks the image from the icon file bytes; a broken directory throws PictureFault.
IconImage SelectIconImage(const std::string& bytes);

}  // namespace quillbit
