// BMP. stb_image decodes the pixels of uncompressed bitmaps, but reads some headers
// wrong: the palette of OS/2 bitmaps 12 bytes short, the masks of the 56-byte header from
// the wrong place, the unused fourth byte of a 32-bit pixel as alpha. So every bitmap is
// handed to it under the one header it reads right (BITMAPV4HEADER), with the masks
// decided here. The run-length encodings, which stb_image does not read, are expanded by
// bmp_rle.cpp.
#include "host/picture/bmp_reader.h"

#include <algorithm>
#include <cstdlib>

#include "host/common/little_endian.h"
#include "host/common/report_texts.h"
#include "host/picture/bmp_rle.h"
#include "host/picture/format_readers.h"
#include "host/picture/stb_reader.h"

namespace quillbit {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeader = 12;  // OS/2 1.x: 16-bit sides, 3-byte palette
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kV4Header = 108;
enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitfields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitfields = 6
};

struct Masks {
  std::uint32_t red = 0, green = 0, blue = 0, alpha = 0;
};

// What quillbit takes from a bitmap's headers.
struct BmpHeader {
  std::uint32_t headerSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top row first
  std::uint32_t planes = 0;
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t pixelsAt = 0;
  Masks masks;
  std::size_t paletteAt = 0;
  std::uint32_t paletteEntry = 4;  // bytes a colour
  std::uint32_t colours = 0;
};

[[noreturn]] void Broken(const std::string& why) {
  throw PictureFault("broken BMP file (" + why + ")");
}

std::uint32_t Field(const std::string& bytes, std::size_t at, int size) {
  if (bytes.size() < at + static_cast<std::size_t>(size)) Broken("header cut short");
  return Little(bytes, at, size);
}

// The masks after a 40-byte header, or inside a longer one; an alpha mask only where the
// header has room for one, or the compression says so.
Masks ReadMasks(const std::string& bytes, const BmpHeader& header) {
  const std::size_t at = kFileHeaderSize + kInfoHeader;
  const bool inside = header.headerSize > kInfoHeader;
  const bool withAlpha = inside ? header.headerSize >= 56 : header.compression == kAlphaBitfields;
  Masks masks;
  masks.red = Field(bytes, at, 4);
  masks.green = Field(bytes, at + 4, 4);
  masks.blue = Field(bytes, at + 8, 4);
  if (withAlpha) masks.alpha = Field(bytes, at + 12, 4);
  return masks;
}

// The channels of pixels of 16 or 32 bits. Without bit fields the colours lie where they
// always do; the fourth byte of a 32-bit pixel is alpha only where the header gives an
// alpha mask (or, in an icon, always).
Masks DecideMasks(const std::string& bytes, const BmpHeader& header, FourthByte fourthByte) {
  if (header.compression == kBitfields || header.compression == kAlphaBitfields)
    return ReadMasks(bytes, header);
  Masks masks;
  if (header.bitsPerPixel == 16) {
    masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else {
    masks = {0xFF0000, 0xFF00, 0xFF, 0};
    if (fourthByte == FourthByte::kAlpha) masks.alpha = 0xFF000000u;
  }
  if (header.headerSize >= 56) masks.alpha = Field(bytes, kFileHeaderSize + 52, 4);
  return masks;
}

std::size_t MasksAfterHeader(const BmpHeader& header) {
  if (header.headerSize != kInfoHeader) return 0;
  return header.compression == kBitfields ? 12 : header.compression == kAlphaBitfields ? 16 : 0;
}

// The palette's size: what the header says, within what lies before the pixels.
void FindPalette(const std::string& bytes, BmpHeader& header) {
  if (header.bitsPerPixel > 8) return;
  header.paletteAt = kFileHeaderSize + header.headerSize + MasksAfterHeader(header);
  const std::uint32_t said = header.headerSize == kCoreHeader ? 0 : Field(bytes, 46, 4);
  const std::uint32_t most = 1u << header.bitsPerPixel;
  const std::size_t room = header.pixelsAt > header.paletteAt
                               ? (header.pixelsAt - header.paletteAt) / header.paletteEntry
                               : 0;
  header.colours =
      static_cast<std::uint32_t>(std::min<std::size_t>({said && said < most ? said : most, room}));
}

BmpHeader ParseHeader(const std::string& bytes, FourthByte fourthByte) {
  BmpHeader header;
  header.pixelsAt = Field(bytes, 10, 4);
  header.headerSize = Field(bytes, 14, 4);
  if (header.headerSize == kCoreHeader) {
    header.width = static_cast<std::int32_t>(Field(bytes, 18, 2));
    header.height = static_cast<std::int32_t>(Field(bytes, 20, 2));
    header.planes = Field(bytes, 22, 2);
    header.bitsPerPixel = Field(bytes, 24, 2);
    header.paletteEntry = 3;
  } else {
    header.width = static_cast<std::int32_t>(Field(bytes, 18, 4));
    header.height = static_cast<std::int32_t>(Field(bytes, 22, 4));
    header.planes = Field(bytes, 26, 2);
    header.bitsPerPixel = Field(bytes, 28, 2);
    header.compression = Field(bytes, 30, 4);
  }
  if (header.bitsPerPixel == 16 || header.bitsPerPixel == 32)
    header.masks = DecideMasks(bytes, header, fourthByte);
  FindPalette(bytes, header);
  return header;
}

bool Understood(const BmpHeader& header) {
  const std::uint32_t size = header.headerSize;
  return size == kCoreHeader || size == kInfoHeader || size == 52 || size == 56 ||
         size == kV4Header || size == 124;
}

std::uint32_t PaletteColour(const std::string& bytes, const BmpHeader& header, unsigned index) {
  if (index >= header.colours) return 0xFF000000u;  // past the palette: black
  const std::size_t at = header.paletteAt + index * std::size_t{header.paletteEntry};
  return 0xFF000000u | Little(bytes, at, 3);  // blue, green, red
}

Picture ReadRle(const std::string& bytes, const BmpHeader& header, Picture picture) {
  const int bits = header.compression == kRle8 ? 8 : 4;
  if (header.bitsPerPixel != static_cast<std::uint32_t>(bits))
    Broken("RLE" + std::to_string(bits) + " with " + std::to_string(header.bitsPerPixel) +
           " bits a pixel");
  if (header.pixelsAt > bytes.size()) Broken("cut short");
  const std::vector<std::uint16_t> indexes = ExpandBmpRle(
      std::string_view(bytes).substr(header.pixelsAt), picture.width, picture.height, bits);
  const auto width = static_cast<std::size_t>(picture.width);
  const auto height = static_cast<std::size_t>(picture.height);
  for (std::size_t stored = 0; stored < height; ++stored) {
    const std::size_t row = header.height < 0 ? stored : height - 1 - stored;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint16_t index = indexes[stored * width + x];
      picture.argb[row * width + x] =
          index == kSkippedPixel ? 0 : PaletteColour(bytes, header, index);
    }
  }
  return picture;
}

// stb_image reads past the end of a BMP as 0 bytes, so a file cut short would convert as
// if its lost rows were black.
bool CutShort(const std::string& bytes, const BmpHeader& header, const Picture& picture) {
  const std::uint64_t rowSize =
      (static_cast<std::uint64_t>(picture.width) * header.bitsPerPixel + 31) / 32 * 4;
  return header.pixelsAt + rowSize * static_cast<std::uint64_t>(picture.height) > bytes.size();
}

// The bitmap under a BITMAPV4HEADER: palette of four-byte colours, masks in the header
// (bit fields for every 16- and 32-bit picture), the pixels right after.
std::string AsV4Bitmap(const std::string& bytes, const BmpHeader& header) {
  std::string palette;
  for (std::uint32_t i = 0; i < header.colours; ++i)
    palette += bytes.substr(header.paletteAt + i * std::size_t{header.paletteEntry}, 3) + '\0';
  const bool fields = header.bitsPerPixel == 16 || header.bitsPerPixel == 32;
  const auto pixelsAt = static_cast<std::uint32_t>(kFileHeaderSize + kV4Header + palette.size());
  const std::string pixels = bytes.substr(std::min<std::size_t>(header.pixelsAt, bytes.size()));
  std::string v4 = "BM" + LittleBytes(pixelsAt + static_cast<std::uint32_t>(pixels.size())) +
                   LittleBytes(0) + LittleBytes(pixelsAt) + LittleBytes(kV4Header) +
                   LittleBytes(static_cast<std::uint32_t>(header.width)) +
                   LittleBytes(static_cast<std::uint32_t>(header.height)) +
                   LittleBytes(header.planes, 2) + LittleBytes(header.bitsPerPixel, 2) +
                   LittleBytes(fields ? kBitfields : kRgb) + std::string(12, '\0') +
                   LittleBytes(header.colours) + LittleBytes(0) + LittleBytes(header.masks.red) +
                   LittleBytes(header.masks.green) + LittleBytes(header.masks.blue) +
                   LittleBytes(header.masks.alpha);
  v4.resize(kFileHeaderSize + kV4Header, '\0');  // colour space, end points and gamma: none
  return v4 + palette + pixels;
}

// Writers that know nothing of alpha leave the fourth byte 0: where every pixel has alpha
// 0 without bit fields that declare it, the picture is opaque.
void OpaqueWithoutAlpha(Picture& picture) {
  for (const std::uint32_t pixel : picture.argb)
    if (pixel >> 24) return;
  for (std::uint32_t& pixel : picture.argb) pixel |= 0xFF000000u;
}

// A bitmap whose header or compression quillbit does not know: stb_image says what it
// makes of it.
Picture StbPicture(const std::string& bytes) {
  Picture picture = StbSizedPicture(bytes, "BMP");
  FillFromSamples(StbSamples(bytes, "BMP", picture, false), picture);
  return picture;
}

}  // namespace

Picture ReadBitmap(const std::string& bytes, FourthByte fourthByte) {
  const BmpHeader header = ParseHeader(bytes, fourthByte);
  if (header.compression == kJpeg || header.compression == kPng)
    throw PictureFault(report_text::RefusedFormat("BMP holding JPEG or PNG data"));
  const bool rle = header.compression == kRle8 || header.compression == kRle4;
  const bool known = Understood(header) &&
                     (rle || header.compression == kRgb || header.compression == kBitfields ||
                      header.compression == kAlphaBitfields);
  if (!known) return StbPicture(bytes);
  Picture picture = SizedPicture(header.width, std::abs(static_cast<long long>(header.height)));
  if (rle) return ReadRle(bytes, header, std::move(picture));
  if (CutShort(bytes, header, picture)) Broken("cut short");
  const std::string v4 = AsV4Bitmap(bytes, header);
  FillFromSamples(StbSamples(v4, "BMP", picture, false), picture);
  if (header.compression == kRgb && header.masks.alpha) OpaqueWithoutAlpha(picture);
  return picture;
}

Picture ReadBmp(const std::string& bytes) { return ReadBitmap(bytes, FourthByte::kUnused); }

}  // namespace quillbit
