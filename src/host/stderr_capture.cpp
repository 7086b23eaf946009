#include "host/stderr_capture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "host/sanitizer_build.h"

#if QUILLBIT_ASAN
extern "C" void __sanitizer_set_report_fd(void* fd);
#endif

namespace quillbit {

namespace {

// A sanitizer report during decoding goes to the real standard error, not into the
// capture, which a crash would leave unread.
void SendSanitizerReportsTo([[maybe_unused]] int fd) {
#if QUILLBIT_ASAN
  __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(fd)));
#endif
}

// One capture file serves the whole run, emptied before each picture: creating a
// temporary file for every picture costs more than decoding most sprites.
std::FILE* CaptureFile() {
  static std::FILE* file = nullptr;
  if (!file) file = std::tmpfile();
  return file;
}

// Empties the capture file; most pictures leave it empty, and truncating an empty file
// still costs a trip to the file system.
bool MakeEmpty(std::FILE* file) {
  struct stat info {};
  if (::fstat(::fileno(file), &info) == 0 && info.st_size == 0) return true;
  return ::ftruncate(::fileno(file), 0) == 0;
}

}  // namespace

StderrCapture::StderrCapture() {
  std::fflush(stderr);
  std::FILE* file = CaptureFile();
  if (!file || !MakeEmpty(file)) return;
  std::rewind(file);
  savedError_ = ::dup(STDERR_FILENO);
  if (savedError_ < 0 || ::dup2(::fileno(file), STDERR_FILENO) < 0) {
    if (savedError_ >= 0) ::close(savedError_);
    savedError_ = -1;
    return;
  }
  file_ = file;
  SendSanitizerReportsTo(savedError_);
}

StderrCapture::~StderrCapture() { Finish(); }

std::string StderrCapture::Finish() {
  if (!file_) return "";
  std::fflush(stderr);
  ::dup2(savedError_, STDERR_FILENO);
  SendSanitizerReportsTo(STDERR_FILENO);
  ::close(savedError_);
  std::string text;
  std::rewind(file_);
  char buffer[512];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, got);
  file_ = nullptr;  // the file stays open for the next picture
  return text;
}

std::string FirstLine(const std::string& text) {
  const std::size_t end = text.find_first_of("\r\n");
  return text.substr(0, end);
}

}  // namespace quillbit
