#include "host/linux/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "host/common/slash_paths.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

[[noreturn]] void Fail(const std::string& what, int error) {
  throw RunTimeError(what + ": " + std::strerror(error));
}

// The folder a temporary file for path must live in so that rename() stays atomic.
std::string TemporaryFolderFor(const std::string& path) {
  std::string folder = slash_paths::ParentFolderName(path);
  return folder.empty() ? "." : folder;
}

mode_t CreationMode() {
  static const mode_t mode = [] {
    mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

// A temporary file that is removed unless it was moved into place.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& nearPath, const std::string& what)
      : name_(TemporaryFolderFor(nearPath) + "/.quillbit-XXXXXX") {
    fd_ = mkstemp(name_.data());
    if (fd_ < 0) Fail(what, errno);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(name_.c_str());
  }

  void Write(const char* data, std::size_t size, const std::string& what) {
    while (size > 0) {
      ssize_t written = ::write(fd_, data, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) Fail(what, written < 0 ? errno : ENOSPC);
      data += written;
      size -= static_cast<std::size_t>(written);
    }
  }
  // Closes the file, checking the close too: a full disk may only show here.
  void Close(const std::string& what) {
    if (::fchmod(fd_, CreationMode()) != 0) Fail(what, errno);
    int result = ::close(fd_);
    fd_ = -1;
    if (result != 0) Fail(what, errno);
  }
  const std::string& name() const { return name_; }
  void Commit() { committed_ = true; }

 private:
  std::string name_;
  int fd_ = -1;
  bool committed_ = false;
};

class InputFile {
 public:
  InputFile(const std::string& path, const std::string& what) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) Fail(what, errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) Fail(what, errno);
    if (S_ISDIR(info.st_mode)) Fail(what, EISDIR);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() { ::close(fd_); }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

void CopyContents(const InputFile& input, TemporaryFile& output, const std::string& what) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ssize_t got = ::read(input.fd(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail(what, errno);
    if (got == 0) return;
    output.Write(buffer.data(), static_cast<std::size_t>(got), what);
  }
}

// Puts a finished temporary file at destination without ever replacing a file there.
void LinkNew(const TemporaryFile& file, const std::string& destination, const std::string& what) {
  if (::link(file.name().c_str(), destination.c_str()) == 0) return;
  const int error = errno;
  // Some file systems have no hard links; there the existence test has to do.
  if (error != EPERM && error != ENOTSUP && error != EXDEV) Fail(what, error);
  struct stat info {};
  if (::lstat(destination.c_str(), &info) == 0) Fail(what, EEXIST);
  if (::rename(file.name().c_str(), destination.c_str()) != 0) Fail(what, errno);
}

}  // namespace

std::string PosixFileSystem::GetParentFolderName(const std::string& path) const {
  return slash_paths::ParentFolderName(path);
}

std::string PosixFileSystem::GetFileName(const std::string& path) const {
  return slash_paths::FileName(path);
}

std::string PosixFileSystem::GetBaseName(const std::string& path) const {
  return slash_paths::BaseName(path);
}

std::string PosixFileSystem::BuildPath(const std::string& folder, const std::string& name) const {
  return slash_paths::BuildPath(folder, name);
}

bool PosixFileSystem::FileExists(const std::string& path) const {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void PosixFileSystem::CopyFile(const std::string& source, const std::string& destination,
                               bool overwrite) const {
  const std::string what = "cannot copy " + Quoted(source) + " to " + Quoted(destination);
  InputFile input(source, what);
  TemporaryFile output(destination, what);
  CopyContents(input, output, what);
  output.Close(what);
  if (overwrite) {
    if (::rename(output.name().c_str(), destination.c_str()) != 0) Fail(what, errno);
    output.Commit();
  } else {
    LinkNew(output, destination, what);  // the temporary name is removed either way
  }
}

void WriteFileAtomically(const std::string& path, const std::string& text) {
  const std::string what = "cannot write " + Quoted(path);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) Fail(what, EISDIR);
  TemporaryFile file(path, what);
  file.Write(text.data(), text.size(), what);
  file.Close(what);
  if (::rename(file.name().c_str(), path.c_str()) != 0) Fail(what, errno);
  file.Commit();
}

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) Fail("cannot find the program's folder", errno);
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return slash_paths::ParentFolderName(
          std::string(buffer.data(), static_cast<std::size_t>(length)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace quillbit
