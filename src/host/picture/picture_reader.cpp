#include "analysis/picture_limits.h"
#include "host/common/report_texts.h"
#include "host/picture/format_readers.h"
#include "host/picture/picture.h"
#include "host/picture/picture_formats.h"
#include "host/run_end.h"

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
  if (!format) throw PictureFault(report_text::kNoPictureFormat);
  if (!format->read) throw PictureFault(report_text::RefusedFormat(std::string(format->name)));
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
    throw RunTimeError(report_text::CannotReadPicture(path, fault.what()));
  }
}

}  // namespace quillbit
