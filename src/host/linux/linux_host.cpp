#include "host/linux/linux_host.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/common/cannot_read_picture.h"
#include "host/linux/decode_memory_cap.h"
#include "host/linux/picture/picture.h"
#include "host/linux/posix_file_system.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

// Far more than any picture of at most 32767 pixels needs, even with metadata;
// keeps a stray huge file from being read into memory.
constexpr off_t kLargestPictureFile = 64 << 20;

// Closes the picture file on every way out of the read.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

// The whole file in one read where the system allows: plain system calls, without a
// stream buffer that would copy every byte once more.
std::string ReadPictureFile(const std::string& path) {
  const ReadOnlyFile file(path);
  if (file.fd() < 0) throw CannotReadPicture(path, std::strerror(errno));
  struct stat info {};
  if (::fstat(file.fd(), &info) != 0) throw CannotReadPicture(path, std::strerror(errno));
  // Folders open fine for reading; their size says nothing.
  if (S_ISDIR(info.st_mode)) throw CannotReadPicture(path, std::strerror(EISDIR));
  const off_t size = ::lseek(file.fd(), 0, SEEK_END);
  if (size < 0) throw CannotReadPicture(path, "not a file");
  if (size > kLargestPictureFile) throw CannotReadPicture(path, "file too large");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t count =
        ::pread(file.fd(), &bytes[got], bytes.size() - got, static_cast<off_t>(got));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) throw CannotReadPicture(path, "read failed");
    got += static_cast<std::size_t>(count);
  }
  return bytes;
}

}  // namespace

LinuxHost::LinuxHost(std::vector<std::string> arguments, Presentation& presentation)
    : SurfaceHost(std::move(arguments), presentation) {
  // A file-size limit must fail the write with an error, not kill the process.
  signal(SIGXFSZ, SIG_IGN);
  // A closed pipe on standard output must fail the write with a report, not kill the
  // process between two pictures with no word said.
  signal(SIGPIPE, SIG_IGN);
}

std::string LinuxHost::AppPath() { return ExecutableFolder(); }

std::unique_ptr<FileSystem> LinuxHost::CreateFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

void LinuxHost::PreparePictureSurface() { ResizeSurface(0, 0); }

void LinuxHost::LoadPicture(const std::string& path) {
  const std::string bytes = ReadPictureFile(path);
  const DecodeMemoryCap cap;
  Picture picture = ReadPicture(bytes, path);
  ResizeSurface(picture.width, picture.height);
  FillSurface(std::move(picture.argb));
}

void LinuxHost::Refresh() {}  // pixels are readable as soon as they are loaded

void LinuxHost::WriteTextFile(const std::string& path, const std::string& text) {
  WriteFileAtomically(path, text);
}

}  // namespace quillbit
