// Refuses pictures that claim a size beyond the limits before the loader decodes
// them: a small file may claim billions of pixels, and decoding it would take
// seconds and gigabytes before the size could be checked on the surface.
#pragma once

#include <string>

#include "host/icon_selection.h"

namespace quillbit {

// Throws the overflow report for path when the header in bytes claims a size
// beyond the limits; formats whose size cannot be read here are let through.
void RefuseOversizedPicture(const std::string& bytes, const std::string& path);

// The same for the image chosen from an icon file: an embedded PNG, or a bitmap
// whose header claims twice the height, the mask's rows included.
void RefuseOversizedIconImage(const IconImage& image, const std::string& path);

}  // namespace quillbit
