// What the page shows of each picture besides quillbit's messages: the four levels of every
// pixel and quillbit-check's findings, from quillbit-check's own analysis.
#pragma once

#include <string>
#include <vector>

#include "check/sprite.h"
#include "host/picture/picture.h"

namespace quillbit {

struct PictureReport {
  Sprite sprite;                      // the levels quillbit's pixel pass gives
  std::string levelCounts;            // "Pixels: 34 black, 12 dark grey, ..."
  std::vector<std::string> findings;  // near misses and translucent levels, "path: ..."
};

// The report on picture, decoded from path. Throws quillbit's run-time errors, which the
// batch then meets itself on the same picture.
PictureReport ReportPicture(const Picture& picture, const std::string& path);

}  // namespace quillbit
