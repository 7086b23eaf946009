#include "host/linux/linux_host.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/common/cannot_read_picture.h"
#include "host/linux/decode_memory_cap.h"
#include "host/linux/interrupt_cleanup.h"
#include "host/linux/picture/picture.h"
#include "host/linux/posix_file_system.h"
#include "host/linux/readable_file.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

// Far more than any picture of at most 32767 pixels needs, even with metadata;
// keeps a stray huge file from being read into memory.
constexpr off_t kLargestPictureFile = 64 << 20;

// The whole file in one read where the system allows: plain system calls, without a
// stream buffer that would copy every byte once more. The picture is opened in the
// folder its header will be written to.
std::string ReadPictureFile(Folders& folders, const std::string& path) {
  const OpenFolder& folder = folders.Holding(path);
  if (folder.fd() < 0) throw CannotReadPicture(path, std::strerror(folder.error()));
  const ReadableFile file(folder.fd(), SplitAtLastComponent(path).name);
  if (file.error() != 0) throw CannotReadPicture(path, std::strerror(file.error()));
  if (!file.regular()) throw CannotReadPicture(path, "it is not a regular file");
  if (file.size() > kLargestPictureFile) throw CannotReadPicture(path, "file too large");
  std::string bytes(static_cast<std::size_t>(file.size()), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t count =
        ::pread(file.fd(), &bytes[got], bytes.size() - got, static_cast<off_t>(got));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw CannotReadPicture(path, std::strerror(errno));
    if (count == 0) break;  // it got shorter while it was read: what is there is the file
    got += static_cast<std::size_t>(count);
  }
  bytes.resize(got);
  return bytes;
}

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
  const std::string bytes = ReadPictureFile(*folders_, path);
  const DecodeMemoryCap cap;
  Picture picture = ReadPicture(bytes, path);
  ResizeSurface(picture.width, picture.height);
  FillSurface(std::move(picture.argb));
}

void LinuxHost::Refresh() {}  // pixels are readable as soon as they are loaded

void LinuxHost::WriteTextFile(const std::string& path, const std::string& text) {
  WriteFileAtomically(*folders_, path, text);
}

}  // namespace quillbit
