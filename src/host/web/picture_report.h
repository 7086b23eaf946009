// What the page shows of each picture besides quillbit's messages: the four levels of every
// pixel and quillbit-check's findings, from quillbit-check's own analysis.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "check/check_platform.h"
#include "check/sprite.h"

namespace quillbit {

struct PictureReport {
  Sprite sprite;                      // the levels quillbit's pixel pass gives
  std::string levelCounts;            // "Pixels: 34 black, 12 dark grey, ..."
  std::vector<std::string> findings;  // near misses and translucent levels, "path: ..."
};

// The levels of a converted picture, read back from the header quillbit wrote for it as
// quillbit-check reads a header: the drawing shows what the header holds. nullopt for text
// that is no header quillbit writes.
std::optional<Sprite> SpriteOfHeader(const std::string& text);

// The levels of a picture quillbit stopped at before writing its header (the width rule),
// from quillbit-check's preview of the conversion.
Sprite SpriteOfPreview(const DecodedPicture& picture, const std::string& path);

PictureReport MakeReport(Sprite sprite, std::vector<std::string> findings);

}  // namespace quillbit
