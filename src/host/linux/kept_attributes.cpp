#include "host/linux/kept_attributes.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/common/report_texts.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

// The access ACL as the kernel stores it; copied whole, it needs no ACL library.
const char* const kAccessAcl = "system.posix_acl_access";

[[noreturn]] void Fail(const std::string& what, int error) {
  throw RunTimeError(report_text::Because(what, std::strerror(error)));
}

// Closes a descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool IsFolderAt(const OpenFolder& folder, const std::string& name) {
  struct stat info {};
  return ::fstatat(folder.fd(), name.c_str(), &info, 0) == 0 && S_ISDIR(info.st_mode);
}

// The ACL of the file behind an O_PATH descriptor, read through /proc: the *xattr calls
// take no O_PATH descriptor and a name would be looked up anew. Empty optional: no ACL;
// false: it could not be read.
bool ReadAcl(int file, std::optional<std::string>& acl) {
  const std::string path = "/proc/self/fd/" + std::to_string(file);
  for (;;) {
    const ssize_t size = ::getxattr(path.c_str(), kAccessAcl, nullptr, 0);
    if (size < 0) return errno == ENODATA || errno == ENOTSUP;
    std::string value(static_cast<std::size_t>(size), '\0');
    const ssize_t got = ::getxattr(path.c_str(), kAccessAcl, value.data(), value.size());
    if (got >= 0) {
      value.resize(static_cast<std::size_t>(got));
      acl = std::move(value);
      return true;
    }
    if (errno != ERANGE) return false;  // ERANGE: it grew in between, ask again
  }
}

// Only root may give a file away, but a group the user belongs to is still kept; true
// when at least the group was.
bool KeepOwner(int fd, const struct stat& info) {
  return ::fchown(fd, info.st_uid, info.st_gid) == 0 ||
         ::fchown(fd, static_cast<uid_t>(-1), info.st_gid) == 0;
}

}  // namespace

std::optional<KeptAttributes> KeptAttributes::Of(const OpenFolder& folder, const std::string& name,
                                                 const std::string& what) {
  const Descriptor file(::openat(folder.fd(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
  KeptAttributes kept;
  if (file.get() < 0 || ::fstat(file.get(), &kept.info_) != 0) return std::nullopt;
  if (S_ISDIR(kept.info_.st_mode) || (S_ISLNK(kept.info_.st_mode) && IsFolderAt(folder, name)))
    Fail(what, EISDIR);
  if (!S_ISREG(kept.info_.st_mode)) return std::nullopt;
  kept.aclKnown_ = ReadAcl(file.get(), kept.acl_);
  return kept;
}

void KeptAttributes::ApplyTo(int fd, const std::string& what) const {
  KeepOwner(fd, info_);
  if (aclKnown_ && acl_) {
    if (::fsetxattr(fd, kAccessAcl, acl_->data(), acl_->size(), 0) != 0) Fail(what, errno);
  } else if (aclKnown_ && ::fremovexattr(fd, kAccessAcl) != 0 && errno != ENODATA &&
             errno != ENOTSUP) {
    Fail(what, errno);  // the folder's default ACL must not widen a file that had none
  }
  if (::fchmod(fd, info_.st_mode & 07777) != 0) Fail(what, errno);
}

}  // namespace quillbit
