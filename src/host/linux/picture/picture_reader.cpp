#include "analysis/picture_limits.h"
#include "host/common/cannot_read_picture.h"
#include "host/linux/picture/format_readers.h"
#include "host/linux/picture/picture.h"
#include "host/linux/picture/picture_format.h"

namespace quillbit {

Picture SizedPicture(const std::string& path, long long width, long long height) {
  CheckPictureLimits(path, static_cast<double>(width), static_cast<double>(height));
  if (width <= 0 || height <= 0) throw CannotReadPicture(path, "the picture has no pixels");
  Picture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.argb.assign(static_cast<std::size_t>(width * height), 0);
  return picture;
}

Picture ReadPicture(const std::string& bytes, const std::string& path) {
  const IdentifiedFormat identified = IdentifyFormat(bytes, path);
  switch (identified.format) {
    case PictureFormat::Png: return ReadPng(bytes, path);
    case PictureFormat::Gif: return ReadGif(bytes, path);
    case PictureFormat::Jpeg: return ReadJpeg(bytes, path);
    case PictureFormat::Tiff: return ReadTiff(bytes, path);
    case PictureFormat::Webp: return ReadWebp(bytes, path);
    case PictureFormat::Bmp:
    case PictureFormat::Pnm:
    case PictureFormat::Tga: return ReadStbFormat(bytes, path);
    case PictureFormat::Icon: return ReadIcon(bytes, path);
    case PictureFormat::Refused: break;
  }
  throw CannotReadPicture(path, identified.refusal);
}

}  // namespace quillbit
