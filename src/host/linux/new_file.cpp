#include "host/linux/new_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

#include "host/common/report_texts.h"
#include "host/linux/interrupt_cleanup.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

constexpr int kNameAttempts = 100;

std::uint64_t RandomBits() {
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == sizeof bits) return bits;
  // No entropy yet early at boot: the process and the moment still tell runs apart.
  static std::uint64_t counter = 0;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return (static_cast<std::uint64_t>(::getpid()) << 40) ^
         (static_cast<std::uint64_t>(now.tv_nsec) << 8) ^ static_cast<std::uint64_t>(now.tv_sec) ^
         ++counter;
}

// A name no other run picks by chance: ".quillbit-" and ten letters or digits.
std::string TemporaryName() {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  constexpr std::uint64_t kBase = sizeof kLetters - 1;
  std::uint64_t bits = RandomBits();
  std::string name = ".quillbit-";
  for (int letter = 0; letter < 10; ++letter, bits /= kBase) name += kLetters[bits % kBase];
  return name;
}

// An unnamed file is linked through its /proc entry, which needs no privilege.
std::string ProcPathOf(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

bool UnnamedFilesCanBeLinked() {
  static const bool can = ::access("/proc/self/fd", X_OK) == 0;
  return can;
}

// The errors of a file system or kernel without O_TMPFILE.
bool NoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// The errors of a file system without hard links.
bool NoHardLinks(int error) { return error == EPERM || error == ENOTSUP || error == EXDEV; }

}  // namespace

NewFile::NewFile(const OpenFolder& folder, std::string what)
    : folder_(folder), what_(std::move(what)) {
  if (UnnamedFilesCanBeLinked()) {
    fd_ = ::openat(folder_.fd(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) return;
    if (!NoUnnamedFiles(errno)) Fail(errno);
  }
  CreateNamed();
}

NewFile::~NewFile() {
  if (fd_ >= 0) ::close(fd_);
  if (temporaryName_.empty() || placed_) return;
  const interrupt_cleanup::Deferred deferred;
  ::unlinkat(folder_.fd(), temporaryName_.c_str(), 0);
  interrupt_cleanup::Forget();
}

void NewFile::Write(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail(written < 0 ? errno : ENOSPC);
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

void NewFile::Replace(const std::string& name) {
  const interrupt_cleanup::Deferred deferred;
  if (temporaryName_.empty()) NameUnnamed();
  Close();
  if (::renameat(folder_.fd(), temporaryName_.c_str(), folder_.fd(), name.c_str()) != 0)
    Fail(errno);
  placed_ = true;
  interrupt_cleanup::Forget();
}

bool NewFile::PlaceUnlessTaken(const std::string& name) {
  if (temporaryName_.empty()) {
    // Linked straight to its final name: no temporary name ever shows.
    if (::linkat(AT_FDCWD, ProcPathOf(fd_).c_str(), folder_.fd(), name.c_str(),
                 AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) return false;
      Fail(errno);
    }
    placed_ = true;
    if (::close(std::exchange(fd_, -1)) != 0) {
      const int error = errno;
      ::unlinkat(folder_.fd(), name.c_str(), 0);  // never a copy that may be short
      Fail(error);
    }
    return true;
  }
  Close();
  return LinkNamed(name);
}

void NewFile::CreateNamed() {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const interrupt_cleanup::Deferred deferred;
    const std::string name = TemporaryName();
    fd_ = ::openat(folder_.fd(), name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporaryName_ = name;
      interrupt_cleanup::Remember(folder_.fd(), temporaryName_.c_str());
      return;
    }
    if (errno != EEXIST) Fail(errno);
  }
  Fail(EEXIST);
}

// Called with the signals held back: the name lives only until the rename.
void NewFile::NameUnnamed() {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = TemporaryName();
    if (::linkat(AT_FDCWD, ProcPathOf(fd_).c_str(), folder_.fd(), name.c_str(),
                 AT_SYMLINK_FOLLOW) == 0) {
      temporaryName_ = name;
      interrupt_cleanup::Remember(folder_.fd(), temporaryName_.c_str());
      return;
    }
    if (errno != EEXIST) Fail(errno);
  }
  Fail(EEXIST);
}

// Closes the file, checking the close too: a full disk may only show here.
void NewFile::Close() {
  const int result = ::close(fd_);
  fd_ = -1;
  if (result != 0) Fail(errno);
}

// A second name for the named file, never replacing a file; the temporary name goes in
// the destructor.
bool NewFile::LinkNamed(const std::string& name) {
  const int folder = folder_.fd();
  if (::linkat(folder, temporaryName_.c_str(), folder, name.c_str(), 0) == 0) return true;
  if (errno == EEXIST) return false;
  if (!NoHardLinks(errno)) Fail(errno);
  const interrupt_cleanup::Deferred deferred;
  if (::renameat2(folder, temporaryName_.c_str(), folder, name.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) return false;
    if (errno != EINVAL) Fail(errno);
    // Neither links nor a rename that refuses to replace: the existence test has to do.
    struct stat info {};
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return false;
    if (::renameat(folder, temporaryName_.c_str(), folder, name.c_str()) != 0) Fail(errno);
  }
  placed_ = true;
  interrupt_cleanup::Forget();
  return true;
}

void NewFile::Fail(int error) const {
  throw RunTimeError(report_text::Because(what_, std::strerror(error)));
}

}  // namespace quillbit
