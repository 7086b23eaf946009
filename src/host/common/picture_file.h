// A picture file read whole. Opening it is each platform's (its path rules, its words for
// what went wrong); the size bound and the reading are the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillbit {

// Why a picture cannot be read, without the file's name: readers and files throw it, and
// the host adds the path once (report_text::CannotReadPicture).
class PictureFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file the platform opened for reading. Both calls throw PictureFault with the
// platform's reason.
class PictureFile {
 public:
  virtual ~PictureFile() = default;
  // The file's size as it stands; no size (a folder, a pipe) is a fault.
  virtual std::uint64_t Size() = 0;
  // Up to count bytes from offset into out: how many were read, 0 at the end.
  virtual std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) = 0;
};

// Far more than any picture of at most 32767 pixels needs, even with metadata; keeps a
// stray huge file from being read into memory.
constexpr std::uint64_t kLargestPictureFile = 64 << 20;

// Every byte of the file, in one read where the system allows.
std::string ReadPictureFile(PictureFile& file);

}  // namespace quillbit
