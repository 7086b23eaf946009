// The bitmap reader, also for the images inside icons.
#pragma once

#include <string>

#include "host/picture/picture.h"

namespace quillbit {

// What the fourth byte of a 32-bit pixel without bit fields is: unused in a BMP file,
// alpha in an icon's image.
enum class FourthByte { kUnused, kAlpha };

Picture ReadBitmap(const std::string& bytes, FourthByte fourthByte);

}  // namespace quillbit
