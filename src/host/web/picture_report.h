// The four levels of every pixel the page draws of each picture, from quillbit-check's own
// analysis.
#pragma once

#include <optional>
#include <string>

#include "check/check_platform.h"
#include "check/sprite.h"

namespace quillbit {

// The levels of a converted picture, read back from the header quillbit wrote for it as
// quillbit-check reads a header: the drawing shows what the header holds. nullopt for text
// that is no header quillbit writes.
std::optional<Sprite> SpriteOfHeader(const std::string& text);

// The levels of a picture quillbit stopped at before writing its header (the width rule),
// from quillbit-check's preview of the conversion.
Sprite SpriteOfPreview(const DecodedPicture& picture, const std::string& path);

}  // namespace quillbit
