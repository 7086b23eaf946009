#include "host/linux/readable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quillbit {

ReadableFile::ReadableFile(int folder, const std::string& name) {
  fd_ = ::openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
    error_ = errno;
    return;
  }
  if (S_ISDIR(info.st_mode)) error_ = EISDIR;
  regular_ = S_ISREG(info.st_mode);
  size_ = info.st_size;
}

ReadableFile::~ReadableFile() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace quillbit
