// Picture libraries print their own complaints on standard error (libpng:
// "libpng error: Not enough image data") before the loader returns its error.
// The run-time error report must stay one line, so that text is caught while a
// picture decodes and folded into the report instead.
#pragma once

#include <cstdio>
#include <string>

namespace quillbit {

class StderrCapture {
 public:
  // Sends standard error to a temporary file; without one, nothing is caught.
  StderrCapture();
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;
  // Gives standard error back if Finish() was not called.
  ~StderrCapture();

  // Gives standard error back and returns what was written meanwhile.
  std::string Finish();

 private:
  std::FILE* file_ = nullptr;
  int savedError_ = -1;
};

// The first line of text, without its line end.
std::string FirstLine(const std::string& text);

}  // namespace quillbit
