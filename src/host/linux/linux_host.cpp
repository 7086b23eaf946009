#include "host/linux/linux_host.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/linux/decode_memory_cap.h"
#include "host/linux/posix_file_system.h"
#include "host/picture/picture.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

// The picture file, closed on every way out of the read.
class PosixPictureFile : public PictureFile {
 public:
  explicit PosixPictureFile(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) throw PictureFault(std::strerror(errno));
  }
  PosixPictureFile(const PosixPictureFile&) = delete;
  PosixPictureFile& operator=(const PosixPictureFile&) = delete;
  ~PosixPictureFile() override { ::close(fd_); }

  std::uint64_t Size() override {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) throw PictureFault(std::strerror(errno));
    // Folders open fine for reading; their size says nothing.
    if (S_ISDIR(info.st_mode)) throw PictureFault(std::strerror(EISDIR));
    const off_t size = ::lseek(fd_, 0, SEEK_END);
    if (size < 0) throw PictureFault("not a file");
    return static_cast<std::uint64_t>(size);
  }

  // Plain system calls, without a stream buffer that would copy every byte once more.
  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) override {
    for (;;) {
      const ssize_t got = ::pread(fd_, out, count, static_cast<off_t>(offset));
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) throw PictureFault("read failed");
    }
  }

 private:
  int fd_;
};

std::unique_ptr<PictureFile> OpenPosixPictureFile(const std::string& path) {
  return std::make_unique<PosixPictureFile>(path);
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
  const DecodeMemoryCap cap;
  Picture picture = quillbit::LoadPicture(path, OpenPosixPictureFile);
  ResizeSurface(picture.width, picture.height);
  FillSurface(std::move(picture.argb));
}

void LinuxHost::Refresh() {}  // pixels are readable as soon as they are loaded

void LinuxHost::WriteTextFile(const std::string& path, const std::string& text) {
  WriteFileAtomically(path, text);
}

}  // namespace quillbit
