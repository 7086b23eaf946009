// TGA through stb_image, which ignores the picture's horizontal origin: a picture stored
// right to left is mirrored back here.
#include <algorithm>

#include "host/common/little_endian.h"
#include "host/picture/format_readers.h"
#include "host/picture/stb_reader.h"

namespace quillbit {

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr unsigned kRightToLeft = 0x10;  // bit 4 of the image descriptor

bool StoredRightToLeft(const std::string& bytes) {
  return bytes.size() >= kHeaderSize && (static_cast<unsigned char>(bytes[17]) & kRightToLeft);
}

// stb_image reads missing pixels of an uncompressed picture as 0, black; the header says
// how many bytes they take.
bool CutShort(const std::string& bytes, const Picture& picture) {
  if (bytes.size() < kHeaderSize) return true;
  const unsigned type = static_cast<unsigned char>(bytes[2]);
  if (type != 1 && type != 2 && type != 3) return false;  // run-length encoded
  const std::uint64_t mapBits = bytes[1] ? Little(bytes, 7, 1) : 0;
  const std::uint64_t mapBytes = Little(bytes, 5, 2) * ((mapBits + 7) / 8);
  const std::uint64_t pixelBytes = (Little(bytes, 16, 1) + 7) / 8;
  const auto pixels = static_cast<std::uint64_t>(picture.argb.size());
  return kHeaderSize + Little(bytes, 0, 1) + mapBytes + pixels * pixelBytes > bytes.size();
}

}  // namespace

Picture ReadTga(const std::string& bytes) {
  Picture picture = StbSizedPicture(bytes, "TGA");
  if (CutShort(bytes, picture)) throw PictureFault("broken TGA file (cut short)");
  FillFromSamples(StbSamples(bytes, "TGA", picture, false), picture);
  if (StoredRightToLeft(bytes)) {
    const std::ptrdiff_t width = picture.width;
    for (auto row = picture.argb.begin(); row != picture.argb.end(); row += width)
      std::reverse(row, row + width);
  }
  return picture;
}

}  // namespace quillbit
