#include "host/stderr_capture.h"

#include <unistd.h>

namespace quillbit {

StderrCapture::StderrCapture() {
  std::fflush(stderr);
  file_ = std::tmpfile();
  if (!file_) return;
  savedError_ = ::dup(STDERR_FILENO);
  if (savedError_ < 0 || ::dup2(::fileno(file_), STDERR_FILENO) < 0) {
    if (savedError_ >= 0) ::close(savedError_);
    savedError_ = -1;
    std::fclose(file_);
    file_ = nullptr;
  }
}

StderrCapture::~StderrCapture() { Finish(); }

std::string StderrCapture::Finish() {
  if (!file_) return "";
  std::fflush(stderr);
  ::dup2(savedError_, STDERR_FILENO);
  ::close(savedError_);
  std::string text;
  std::rewind(file_);
  char buffer[512];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, got);
  std::fclose(file_);
  file_ = nullptr;
  return text;
}

std::string FirstLine(const std::string& text) {
  const std::size_t end = text.find_first_of("\r\n");
  return text.substr(0, end);
}

}  // namespace quillbit
