// The drawing colours as the palette files paint programs load: one file for each format.
#pragma once

#include <string>
#include <vector>

#include "analysis/bitplane_extraction.h"

namespace quillbit {

struct PaletteFile {
  std::string name;   // "quillbit-levels.gpl"
  std::string bytes;  // the whole file
};

// GIMP's .gpl, JASC .pal, the plain .hex list, Adobe's .act and paint.net's .txt of colours.
std::vector<PaletteFile> PaletteFiles(const std::vector<DrawingColour>& colours);

}  // namespace quillbit
