#include "host/linux/check/linux_check_platform.h"

#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "check/host_picture.h"
#include "host/common/report_texts.h"
#include "host/common/standard_streams.h"
#include "host/linux/posix_file_system.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

class OpenFile {
 public:
  // Non-blocking, so that a FIFO or a device in the way cannot hold the check.
  explicit OpenFile(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

RunTimeError CannotRead(const std::string& path, const char* why) {
  return RunTimeError(report_text::CannotRead(path, why));
}

std::optional<std::string> EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

// The character set the user's locale sets for the terminal.
bool LocaleIsUtf8() {
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  if (!std::setlocale(LC_CTYPE, "")) return false;
  const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
  std::setlocale(LC_CTYPE, previous.c_str());
  return utf8;
}

}  // namespace

LinuxCheckPlatform::LinuxCheckPlatform() : pictures_({}, unusedMessages_) {}

DecodedPicture LinuxCheckPlatform::LoadPicture(const std::string& path) {
  return LoadWithHost(pictures_, path);
}

std::optional<std::string> LinuxCheckPlatform::ReadFileStart(const std::string& path,
                                                             std::size_t limit) {
  const OpenFile file(path);
  if (file.fd() < 0) {
    if (errno == ENOENT) return std::nullopt;
    throw CannotRead(path, std::strerror(errno));
  }
  struct stat info {};
  if (::fstat(file.fd(), &info) != 0) throw CannotRead(path, std::strerror(errno));
  if (!S_ISREG(info.st_mode)) throw CannotRead(path, report_text::kFileNotRegular);
  std::string bytes(limit, '\0');
  std::size_t got = 0;
  while (got < limit) {
    const ssize_t count = ::read(file.fd(), &bytes[got], limit - got);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw CannotRead(path, std::strerror(errno));
    if (count == 0) break;
    got += static_cast<std::size_t>(count);
  }
  bytes.resize(got);
  return bytes;
}

std::unique_ptr<FileSystem> LinuxCheckPlatform::CreateFileSystem() {
  return std::make_unique<PosixFileSystem>(std::make_shared<Folders>());
}

TerminalFacts LinuxCheckPlatform::Terminal() {
  TerminalFacts facts;
  facts.isTerminal = ::isatty(STDOUT_FILENO) == 1;
  facts.takesEscapes = facts.isTerminal;
  facts.takesUtf8 = LocaleIsUtf8();
  facts.noColor = EnvironmentValue("NO_COLOR");
  facts.term = EnvironmentValue("TERM");
  return facts;
}

void LinuxCheckPlatform::Write(const std::string& text, Stream stream) {
  WriteStandardStream(text, stream == Stream::Error);
}

}  // namespace quillbit
