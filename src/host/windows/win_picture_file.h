// The picture file on Windows, opened through its wide name for the shared picture reader.
#pragma once

#include <windows.h>

#include <string>

#include "host/common/picture_file.h"

namespace quillbit {

// Only a file on a disk is read: a folder, a device or a pipe is refused at once, so
// nothing can hold the run waiting for data. Closed on every way out of the read.
class WinPictureFile : public PictureFile {
 public:
  explicit WinPictureFile(const std::string& path);
  WinPictureFile(const WinPictureFile&) = delete;
  WinPictureFile& operator=(const WinPictureFile&) = delete;
  ~WinPictureFile() override;

  std::uint64_t Size() override;
  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) override;

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace quillbit
