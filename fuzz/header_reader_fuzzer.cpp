// quillbit-check's header reader on any bytes: it ends with the sprite or a reason,
// and a sprite it takes is whole and drawn with every cell.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "check/drawing.h"
#include "check/header_reader.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillbit;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const HeaderReading reading = ReadQuillbitHeader(bytes);
  FUZZ_CHECK(reading.contents.has_value() == reading.problem.empty());
  if (!reading.contents) return 0;
  FUZZ_CHECK(StartsWithHeaderBanner(bytes));
  const Sprite& sprite = reading.contents->sprite;
  FUZZ_CHECK(sprite.width % 8 == 0 && sprite.width * sprite.height <= 32767);
  FUZZ_CHECK(sprite.cells.size() == static_cast<std::size_t>(sprite.width * sprite.height));
  const std::string drawing = DrawSprite(sprite, DrawingStyle::Plain);
  FUZZ_CHECK(std::count(drawing.begin(), drawing.end(), '\n') == sprite.height + 1);
  return 0;
}
