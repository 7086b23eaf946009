#include "host/common/icon_selection.h"

#include <cstdint>

#include "host/common/little_endian.h"
#include "host/common/picture_file.h"

namespace quillbit {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;

struct Entry {
  std::uint32_t pixels;
  std::uint32_t bitsPerPixel;
  std::uint32_t size;
  std::uint32_t offset;
};

Entry ReadEntry(const std::string& bytes, std::size_t at) {
  const std::uint32_t width = bytes[at] ? static_cast<unsigned char>(bytes[at]) : 256;
  const std::uint32_t height = bytes[at + 1] ? static_cast<unsigned char>(bytes[at + 1]) : 256;
  return {width * height, Little(bytes, at + 6, 2), Little(bytes, at + 8, 4),
          Little(bytes, at + 12, 4)};
}

bool Better(const Entry& a, const Entry& b) {
  return a.pixels != b.pixels ? a.pixels > b.pixels : a.bitsPerPixel > b.bitsPerPixel;
}

[[noreturn]] void Broken(const std::string& why) {
  throw PictureFault("broken icon file (" + why + ")");
}

}  // namespace

// The image count must not be 0 either: a truecolour TGA file starts 00 00 02 00 like
// a cursor, but the next bytes, its colour map's, are 0.
bool LooksLikeIcon(const std::string& bytes) {
  return bytes.size() >= kHeaderSize && Little(bytes, 0, 2) == 0 &&
         (Little(bytes, 2, 2) == 1 || Little(bytes, 2, 2) == 2) && Little(bytes, 4, 2) > 0;
}

IconImage SelectIconImage(const std::string& bytes) {
  const std::size_t count = bytes.size() >= kHeaderSize ? Little(bytes, 4, 2) : 0;
  if (count == 0) Broken("no images");
  if (bytes.size() < kHeaderSize + count * kEntrySize) Broken("directory cut short");

  Entry best = ReadEntry(bytes, kHeaderSize);
  for (std::size_t i = 1; i < count; ++i) {
    Entry entry = ReadEntry(bytes, kHeaderSize + i * kEntrySize);
    if (Better(entry, best)) best = entry;
  }
  if (best.offset > bytes.size() || best.size > bytes.size() - best.offset)
    Broken("image data outside the file");

  const std::string data = bytes.substr(best.offset, best.size);
  return {data.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0, data};
}

}  // namespace quillbit
