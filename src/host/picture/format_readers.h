// One reader per format, each over the library made for it. Each checks the size its
// header claims against the limits before it decodes a pixel (SizedPicture), and throws
// PictureFault saying what went wrong.
#pragma once

#include <string>

#include "host/picture/picture.h"

namespace quillbit {

Picture ReadPng(const std::string& bytes);
Picture ReadGif(const std::string& bytes);
Picture ReadJpeg(const std::string& bytes);
Picture ReadTiff(const std::string& bytes);
Picture ReadWebp(const std::string& bytes);
Picture ReadBmp(const std::string& bytes);
Picture ReadTga(const std::string& bytes);
// Binary PGM and PPM, 8 or 16 bits a sample.
Picture ReadPnm(const std::string& bytes);
// Icons and cursors: the largest image, PNG or bitmap with its mask or alpha.
Picture ReadIcon(const std::string& bytes);
// Aseprite's first frame, composed from its visible layers (quillbit's own reader, over
// zlib).
Picture ReadAseprite(const std::string& bytes);

// A picture of that size with every pixel 0, ready to be filled; throws PictureTooLarge
// beyond the limits and PictureFault for a picture without pixels.
Picture SizedPicture(long long width, long long height);

}  // namespace quillbit
