#include "host/common/picture_file.h"

namespace quillbit {

std::string ReadPictureFile(PictureFile& file) {
  const std::uint64_t size = file.Size();
  if (size > kLargestPictureFile) throw PictureFault("file too large");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const std::size_t count = file.ReadAt(got, &bytes[got], bytes.size() - got);
    if (count == 0) break;  // it got shorter while it was read: what is there is the file
    got += count;
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace quillbit
