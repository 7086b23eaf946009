// BMP, TGA and binary PGM/PPM through stb_image.
#include <stb_image.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "host/common/cannot_read_picture.h"
#include "host/common/little_endian.h"
#include "host/linux/picture/format_readers.h"

namespace quillbit {

namespace {

struct StbPixels {
  stbi_uc* data;
  ~StbPixels() { stbi_image_free(data); }
};

// stb_image's reasons for the kinds it does not read, in the report's words.
std::string Why(const char* reason) {
  const std::string said = reason ? reason : "";
  if (said.find("RLE") != std::string::npos)
    return "RLE-compressed BMP is not a picture format quillbit reads; save the picture as an "
           "uncompressed BMP or as PNG";
  if (said.find("unsupported compression") != std::string::npos)
    return "BMP holding JPEG or PNG data is not a picture format quillbit reads; save the "
           "picture as PNG";
  return "broken picture file (" + (said.empty() ? std::string("no reason given") : said) + ")";
}

// stb_image reads past the end of a BMP as 0 bytes, so a file cut short would convert
// as if its lost rows were black; the header says how many bytes the rows take.
bool BmpCutShort(const std::string& bytes) {
  if (bytes.compare(0, 2, "BM") != 0 || bytes.size() < 26) return false;
  const std::uint32_t headerSize = Little(bytes, 14, 4);
  const bool core = headerSize == 12;  // the OS/2 header, with 16-bit sides
  if (!core && bytes.size() < 30) return false;
  const std::uint64_t width = core ? Little(bytes, 18, 2) : Little(bytes, 18, 4);
  const auto height =
      core ? static_cast<std::int64_t>(Little(bytes, 20, 2))
           : static_cast<std::int64_t>(static_cast<std::int32_t>(Little(bytes, 22, 4)));
  const std::uint64_t bits = core ? Little(bytes, 24, 2) : Little(bytes, 28, 2);
  const std::uint64_t rowSize = (width * bits + 31) / 32 * 4;
  const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
  return Little(bytes, 10, 4) + rowSize * rows > bytes.size();
}

// stb_image reads the three numbers of a PGM/PPM header into an int without a bound,
// which overflows on a long enough number; its own tokens are walked here (blanks and
// comments skipped) and a number of more than nine digits is refused. No real picture
// comes near: sides end at 32767 and samples at 65535.
bool PnmNumberTooLong(const std::string& bytes) {
  if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '5' && bytes[1] != '6')) return false;
  std::size_t at = 2;
  for (int number = 0; number < 3; ++number) {
    while (at < bytes.size()) {
      if (std::isspace(static_cast<unsigned char>(bytes[at]))) {
        ++at;
      } else if (bytes[at] == '#') {
        while (at < bytes.size() && bytes[at] != '\n' && bytes[at] != '\r') ++at;
      } else {
        break;
      }
    }
    while (at < bytes.size() && bytes[at] == '0') ++at;
    std::size_t digits = 0;
    for (; at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])); ++at)
      if (++digits > 9) return true;
  }
  return false;
}

// stb_image counts the palette of an OS/2 bitmap 12 bytes short, so the last four
// colours are lost; the same bitmap under the Windows header, whose palette it
// counts right, reads whole. Only the header and palette are rewritten; any other
// file gives an empty string, so it is read where it lies instead of copied.
std::string WithWindowsHeader(const std::string& bytes) {
  const std::size_t kFileHeader = 14;
  const std::size_t kCoreEnd = kFileHeader + 12;
  if (bytes.size() < kCoreEnd || bytes.compare(0, 2, "BM") != 0 || Little(bytes, 14, 4) != 12)
    return {};
  const std::uint32_t bits = Little(bytes, 24, 2);
  const std::uint32_t pixelsAt = Little(bytes, 10, 4);
  if (bits > 8 || pixelsAt < kCoreEnd || pixelsAt > bytes.size()) return {};
  const auto colours = static_cast<std::uint32_t>(
      std::min<std::size_t>((pixelsAt - kCoreEnd) / 3, std::size_t{1} << bits));
  std::string palette;
  for (std::size_t i = 0; i < colours; ++i) palette += bytes.substr(kCoreEnd + 3 * i, 3) + '\0';
  const auto newPixelsAt = static_cast<std::uint32_t>(kFileHeader + 40 + palette.size());
  const std::string pixels = bytes.substr(pixelsAt);
  return "BM" + LittleBytes(newPixelsAt + static_cast<std::uint32_t>(pixels.size()), 4) +
         LittleBytes(0, 4) + LittleBytes(newPixelsAt, 4) + LittleBytes(40, 4) +
         LittleBytes(Little(bytes, 18, 2), 4) + LittleBytes(Little(bytes, 20, 2), 4) +
         LittleBytes(1, 2) + LittleBytes(bits, 2) + std::string(16, '\0') +
         LittleBytes(colours, 4) + LittleBytes(0, 4) + palette + pixels;
}

// The samples stb_image gives in the file's own channels, as 0xAARRGGBB: grey,
// grey and alpha, RGB or RGBA. Asking stb_image for four channels instead breaks its
// 16-bit PNM.
std::uint32_t Word(const stbi_uc* sample, int channels) {
  const std::uint32_t red = sample[0];
  const std::uint32_t green = channels >= 3 ? sample[1] : red;
  const std::uint32_t blue = channels >= 3 ? sample[2] : red;
  const std::uint32_t alpha = channels == 2 ? sample[1] : channels == 4 ? sample[3] : 0xFF;
  return alpha << 24 | red << 16 | green << 8 | blue;
}

}  // namespace

Picture ReadStbFormat(const std::string& file, const std::string& path) {
  const std::string rewritten = WithWindowsHeader(file);
  const std::string& bytes = rewritten.empty() ? file : rewritten;
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  int width = 0;
  int height = 0;
  int channels = 0;
  if (PnmNumberTooLong(bytes))
    throw CannotReadPicture(path, "broken PNM file (a number in its header is too long)");
  if (!stbi_info_from_memory(data, size, &width, &height, &channels))
    throw CannotReadPicture(path, Why(stbi_failure_reason()));
  // A top-down BMP gives its height negative.
  Picture picture = SizedPicture(path, width, std::abs(height));
  if (BmpCutShort(bytes)) throw CannotReadPicture(path, "broken BMP file (cut short)");
  const StbPixels samples{stbi_load_from_memory(data, size, &width, &height, &channels, 0)};
  if (!samples.data) throw CannotReadPicture(path, Why(stbi_failure_reason()));
  if (width != picture.width || height != picture.height || channels < 1 || channels > 4)
    throw CannotReadPicture(path, "broken picture file (its size changed while reading)");
  const stbi_uc* sample = samples.data;
  for (std::uint32_t& word : picture.argb) {
    word = Word(sample, channels);
    sample += channels;
  }
  return picture;
}

}  // namespace quillbit
