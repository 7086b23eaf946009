// Icons and cursors. The container is ours to read: the directory (icon_selection),
// and a bitmap image's AND mask and alpha. The image itself goes to the PNG or BMP
// reader.
#include <cstdint>

#include "host/common/icon_selection.h"
#include "host/common/little_endian.h"
#include "host/picture/bmp_reader.h"
#include "host/picture/format_readers.h"

namespace quillbit {

namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBitfields = 3;

[[noreturn]] void Broken(const std::string& why) {
  throw PictureFault("broken icon file (" + why + ")");
}

// The parts of an icon's bitmap: a BMP's info header whose height counts the colour
// rows and the mask rows, then palette, colour rows and mask rows, bottom row first.
struct IconBitmap {
  long long width;
  long long height;  // of the picture, the mask's rows not counted
  std::uint32_t bitsPerPixel;
  std::uint32_t compression;
  // Offsets in 64 bits, also where size_t has 32 (WebAssembly): a huge colour count or
  // size must not wrap round to an offset inside the file.
  std::uint64_t pixelsAt;
  std::uint64_t colourRowSize;
  std::uint64_t maskAt;
  std::uint64_t maskRowSize;
};

IconBitmap ParseBitmap(const std::string& dib) {
  if (dib.size() < kInfoHeaderSize) Broken("bitmap header cut short");
  const std::uint32_t headerSize = Little(dib, 0, 4);
  if (headerSize < kInfoHeaderSize || headerSize > dib.size()) Broken("bad bitmap header");
  IconBitmap bitmap{};
  bitmap.width = static_cast<std::int32_t>(Little(dib, 4, 4));
  bitmap.height = static_cast<std::int32_t>(Little(dib, 8, 4)) / 2;
  bitmap.bitsPerPixel = Little(dib, 14, 2);
  bitmap.compression = Little(dib, 16, 4);
  const std::uint32_t coloursUsed = Little(dib, 32, 4);
  if (bitmap.width <= 0 || bitmap.height <= 0) Broken("bad bitmap size");
  if (bitmap.bitsPerPixel == 0 || bitmap.bitsPerPixel > 32) Broken("bad bitmap depth");
  const std::uint64_t paletteSize = bitmap.bitsPerPixel > 8 ? 0
                                    : coloursUsed           ? coloursUsed
                                                            : 1u << bitmap.bitsPerPixel;
  const std::uint64_t masksSize =
      bitmap.compression == kBitfields && headerSize == kInfoHeaderSize ? 12 : 0;
  bitmap.pixelsAt = headerSize + masksSize + 4 * paletteSize;
  const auto width = static_cast<std::uint64_t>(bitmap.width);
  bitmap.colourRowSize = (width * bitmap.bitsPerPixel + 31) / 32 * 4;
  bitmap.maskAt =
      bitmap.pixelsAt + bitmap.colourRowSize * static_cast<std::uint64_t>(bitmap.height);
  bitmap.maskRowSize = (width + 31) / 32 * 4;
  return bitmap;
}

// The colour rows as a BMP file of the picture's own height.
std::string AsBmpFile(const std::string& dib, const IconBitmap& bitmap) {
  const std::string colours = dib.substr(0, static_cast<std::size_t>(bitmap.maskAt));
  const auto pixelsAt = static_cast<std::uint32_t>(14 + bitmap.pixelsAt);
  return "BM" + LittleBytes(static_cast<std::uint32_t>(14 + colours.size())) + LittleBytes(0) +
         LittleBytes(pixelsAt) + colours.substr(0, 8) +
         LittleBytes(static_cast<std::uint32_t>(bitmap.height)) + colours.substr(12);
}

// A 32-bit image whose alpha is not all 0 brings its own transparency; the mask is
// then ignored, as Windows draws it.
bool HasAlpha(const std::string& dib, const IconBitmap& bitmap) {
  if (bitmap.bitsPerPixel != 32 || bitmap.compression != 0) return false;
  for (std::uint64_t at = bitmap.pixelsAt + 3; at < bitmap.maskAt && at < dib.size(); at += 4)
    if (dib[static_cast<std::size_t>(at)] != 0) return true;
  return false;
}

// Where the AND mask has a 1 the pixel is background.
void ApplyMask(const std::string& dib, const IconBitmap& bitmap, Picture& picture) {
  const auto height = static_cast<std::size_t>(picture.height);
  const auto width = static_cast<std::size_t>(picture.width);
  if (dib.size() < bitmap.maskAt + bitmap.maskRowSize * height) Broken("mask cut short");
  for (std::size_t row = 0; row < height; ++row) {
    const auto maskRow =
        static_cast<std::size_t>(bitmap.maskAt + (height - 1 - row) * bitmap.maskRowSize);
    for (std::size_t x = 0; x < width; ++x)
      if (static_cast<unsigned char>(dib[maskRow + x / 8]) >> (7 - x % 8) & 1)
        picture.argb[row * width + x] = 0;
  }
}

}  // namespace

Picture ReadIcon(const std::string& bytes) {
  const IconImage image = SelectIconImage(bytes);
  if (image.isPng) return ReadPng(image.file);
  const std::string& dib = image.file;
  const IconBitmap bitmap = ParseBitmap(dib);
  SizedPicture(bitmap.width, bitmap.height);  // the limits, before the image is decoded
  if (bitmap.maskAt > dib.size()) Broken("image cut short");
  Picture picture = ReadBitmap(AsBmpFile(dib, bitmap), FourthByte::kAlpha);
  if (!HasAlpha(dib, bitmap)) ApplyMask(dib, bitmap, picture);
  return picture;
}

}  // namespace quillbit
