#include "analysis/picture_limits.h"
#include "host/common/cannot_read_picture.h"
#include "host/picture/format_readers.h"
#include "host/picture/picture.h"
#include "host/picture/picture_formats.h"

namespace quillbit {

Picture SizedPicture(long long width, long long height) {
  if (!FitsPictureLimits(static_cast<double>(width), static_cast<double>(height)))
    throw PictureTooLarge{width, height};
  if (width <= 0 || height <= 0) throw PictureFault("the picture has no pixels");
  Picture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.argb.assign(static_cast<std::size_t>(width * height), 0);
  return picture;
}

Picture ReadPicture(const std::string& bytes, const std::string& name) {
  const PictureFormat* format = IdentifyFormat(bytes, name);
  if (!format) throw PictureFault("not a picture format quillbit reads");
  if (!format->read)
    throw PictureFault(std::string(format->name) +
                       " is not a picture format quillbit reads; save the picture as PNG");
  return format->read(bytes);
}

Picture LoadPicture(const std::string& path, const OpenPictureFile& open) {
  try {
    const std::unique_ptr<PictureFile> file = open(path);
    return ReadPicture(ReadPictureFile(*file), path);
  } catch (const PictureTooLarge& size) {
    CheckPictureLimits(path, static_cast<double>(size.width), static_cast<double>(size.height));
    throw;  // not reached: the size is beyond the limits
  } catch (const PictureFault& fault) {
    throw CannotReadPicture(path, fault.what());
  }
}

}  // namespace quillbit
