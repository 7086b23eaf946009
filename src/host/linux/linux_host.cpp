#include "host/linux/linux_host.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/common/report_texts.h"
#include "host/linux/decode_memory_cap.h"
#include "host/linux/interrupt_cleanup.h"
#include "host/linux/posix_file_system.h"
#include "host/linux/readable_file.h"
#include "host/picture/picture.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

// The picture file, opened in the folder its header will be written to, without blocking
// (ReadableFile), and closed on every way out of the read.
class PosixPictureFile : public PictureFile {
 public:
  PosixPictureFile(Folders& folders, const std::string& path)
      : file_(FolderOf(folders, path), SplitAtLastComponent(path).name) {
    if (file_.error() != 0) throw PictureFault(std::strerror(file_.error()));
    if (!file_.regular()) throw PictureFault(report_text::kPictureNotRegular);
  }

  std::uint64_t Size() override { return static_cast<std::uint64_t>(file_.size()); }

  // Plain system calls, without a stream buffer that would copy every byte once more.
  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) override {
    for (;;) {
      const ssize_t got = ::pread(file_.fd(), out, count, static_cast<off_t>(offset));
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) throw PictureFault(std::strerror(errno));
    }
  }

 private:
  static int FolderOf(Folders& folders, const std::string& path) {
    const OpenFolder& folder = folders.Holding(path);
    if (folder.fd() < 0) throw PictureFault(std::strerror(folder.error()));
    return folder.fd();
  }

  ReadableFile file_;
};

}  // namespace

LinuxHost::LinuxHost(std::vector<std::string> arguments, Presentation& presentation)
    : SurfaceHost(std::move(arguments), presentation), folders_(std::make_shared<Folders>()) {
  interrupt_cleanup::Install();
  // A file-size limit must fail the write with an error, not kill the process.
  signal(SIGXFSZ, SIG_IGN);
  // A closed pipe on standard output must fail the write with a report, not kill the
  // process between two pictures with no word said.
  signal(SIGPIPE, SIG_IGN);
}

std::string LinuxHost::AppPath() { return ExecutableFolder(); }

std::unique_ptr<FileSystem> LinuxHost::CreateFileSystem() {
  return std::make_unique<PosixFileSystem>(folders_);
}

void LinuxHost::PreparePictureSurface() { ResizeSurface(0, 0); }

void LinuxHost::LoadPicture(const std::string& path) {
  const DecodeMemoryCap cap;
  Picture picture = quillbit::LoadPicture(path, [this](const std::string& name) {
    return std::make_unique<PosixPictureFile>(*folders_, name);
  });
  ResizeSurface(picture.width, picture.height);
  FillSurface(std::move(picture.argb), std::move(picture.notes));
}

void LinuxHost::Refresh() {}  // pixels are readable as soon as they are loaded

void LinuxHost::WriteTextFile(const std::string& path, const std::string& text) {
  WriteFileAtomically(*folders_, path, text);
}

}  // namespace quillbit
