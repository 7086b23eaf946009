// A file opened for reading that may only be used when it is a regular file.
#pragma once

#include <sys/types.h>

#include <string>

namespace quillbit {

// Opened without blocking, so a FIFO with no writer or a device that would wait is
// refused at once instead of holding the run forever; a terminal never becomes the
// controlling one.
class ReadableFile {
 public:
  // name relative to folder (AT_FDCWD for a path as it stands).
  ReadableFile(int folder, const std::string& name);
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;
  ~ReadableFile();

  // errno of a failed open, EISDIR for a folder, 0 otherwise.
  int error() const { return error_; }
  // True for a regular file; false for a folder, FIFO, device or socket, or no file.
  bool regular() const { return regular_; }
  int fd() const { return fd_; }
  off_t size() const { return size_; }

 private:
  int fd_ = -1;
  int error_ = 0;
  bool regular_ = false;
  off_t size_ = 0;
};

}  // namespace quillbit
