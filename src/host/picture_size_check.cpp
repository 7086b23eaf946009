#include "host/picture_size_check.h"

#include <stb_image.h>

#include <cmath>
#include <optional>

#include "analysis/picture_limits.h"
#include "host/gif_frame_size.h"
#include "host/png_header_size.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

struct ClaimedSize {
  double width;
  double height;
};

// Reads only the header: libpng sizes PNG, stb_image sizes BMP, GIF (its screen), JPEG,
// TGA, PSD, PNM and HDR, neither decoding a pixel.
std::optional<ClaimedSize> ReadClaimedSize(const std::string& bytes) {
  if (LooksLikePng(bytes)) {
    const std::optional<PngSize> size = ReadPngSize(bytes);
    if (!size) return std::nullopt;
    return ClaimedSize{static_cast<double>(size->width), static_cast<double>(size->height)};
  }
  int width = 0;
  int height = 0;
  int channels = 0;
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  if (!stbi_info_from_memory(data, static_cast<int>(bytes.size()), &width, &height, &channels))
    return std::nullopt;
  return ClaimedSize{static_cast<double>(width), static_cast<double>(height)};
}

// An icon holds a bitmap without the 14-byte file header a BMP file starts with;
// given one, the BMP reader can size it. The pixel offset in it is never used.
std::string AsBmpFile(const std::string& bitmap) {
  std::string file = "BM";
  const std::size_t size = bitmap.size() + 14;
  for (int i = 0; i < 4; ++i) file += static_cast<char>(size >> (8 * i) & 0xFF);
  file.append(8, '\0');  // reserved words and pixel offset
  return file + bitmap;
}

// The one-image icon file of a chosen bitmap: header and one directory entry.
constexpr std::size_t kIconPrefixSize = 6 + 16;

}  // namespace

void RefuseOversizedPicture(const std::string& bytes, const std::string& path) {
  if (const std::optional<ClaimedSize> size = ReadClaimedSize(bytes))
    CheckPictureLimits(path, size->width, size->height);
  if (!LooksLikeGif(bytes)) return;
  std::string why;
  const std::optional<GifFrameSize> frame = ReadGifFrameSize(bytes, why);
  // The loader skips stray bytes that giflib refuses and then decodes a frame of any
  // size before it can be measured, so a GIF whose frame giflib cannot size is refused.
  if (!frame)
    throw RunTimeError("cannot read picture \"" + path + "\": broken GIF file (" + why + ")");
  CheckPictureLimits(path, frame->width, frame->height);
}

void RefuseOversizedIconImage(const IconImage& image, const std::string& path) {
  if (image.isPng) {
    RefuseOversizedPicture(image.file, path);
    return;
  }
  if (image.file.size() <= kIconPrefixSize) return;  // the loader reports the broken file
  if (const std::optional<ClaimedSize> size =
          ReadClaimedSize(AsBmpFile(image.file.substr(kIconPrefixSize))))
    CheckPictureLimits(path, size->width, std::floor(size->height / 2));
}

}  // namespace quillbit
