// Pixels that look like a level but are background to quillbit, which sorts by exact
// colour: near misses of a paint program's colour management, and translucent levels.
#pragma once

#include <string>
#include <vector>

#include "check/check_platform.h"

namespace quillbit {

// An opaque colour is close to a level when each of its channels lies within this
// distance of the level's; the three levels' ranges never meet.
constexpr int kCloseDistance = 24;

// At most this many close colours are named one by one; the rest are counted.
constexpr std::size_t kCloseColoursNamed = 8;

// One line per finding, each starting with "path: ", in the order the pixels come, then
// the reader's notes on layers that do not put their levels down as drawn.
std::vector<std::string> ColourFindings(const DecodedPicture& picture, const std::string& path);

}  // namespace quillbit
