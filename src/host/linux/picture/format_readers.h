// One reader per format, each over the library made for it. Each checks the size
// its header claims against the limits before it decodes a pixel, and throws the
// report naming path on any failure.
#pragma once

#include <string>

#include "host/linux/picture/picture.h"

namespace quillbit {

Picture ReadPng(const std::string& bytes, const std::string& path);
Picture ReadGif(const std::string& bytes, const std::string& path);
Picture ReadJpeg(const std::string& bytes, const std::string& path);
Picture ReadTiff(const std::string& bytes, const std::string& path);
Picture ReadWebp(const std::string& bytes, const std::string& path);
// BMP, TGA and binary PGM/PPM, 8 or 16 bits a sample.
Picture ReadStbFormat(const std::string& file, const std::string& path);
// Icons and cursors: the largest image, PNG or bitmap with its mask or alpha.
Picture ReadIcon(const std::string& bytes, const std::string& path);

// A picture of the checked size with every pixel 0, ready to be filled.
Picture SizedPicture(const std::string& path, long long width, long long height);

}  // namespace quillbit
