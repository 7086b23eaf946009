// BMP, TGA and binary PGM/PPM through stb_image.
#include <stb_image.h>

#include <cstring>

#include "host/cannot_read_picture.h"
#include "host/picture/format_readers.h"

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

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
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

}  // namespace

Picture ReadStbFormat(const std::string& bytes, const std::string& path) {
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  int width = 0;
  int height = 0;
  int channels = 0;
  if (!stbi_info_from_memory(data, size, &width, &height, &channels))
    throw CannotReadPicture(path, Why(stbi_failure_reason()));
  Picture picture = SizedPicture(path, width, height);
  if (BmpCutShort(bytes)) throw CannotReadPicture(path, "broken BMP file (cut short)");
  const StbPixels rgba{stbi_load_from_memory(data, size, &width, &height, &channels, 4)};
  if (!rgba.data) throw CannotReadPicture(path, Why(stbi_failure_reason()));
  if (width != picture.width || height != picture.height)
    throw CannotReadPicture(path, "broken picture file (its size changed while reading)");
  const stbi_uc* pixel = rgba.data;
  for (std::uint32_t& word : picture.argb) {
    word = static_cast<std::uint32_t>(pixel[3]) << 24 | static_cast<std::uint32_t>(pixel[0]) << 16 |
           static_cast<std::uint32_t>(pixel[1]) << 8 | pixel[2];
    pixel += 4;
  }
  return picture;
}

}  // namespace quillbit
