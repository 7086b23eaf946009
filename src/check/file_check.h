// The report on one file named to quillbit-check: a picture or a header quillbit wrote.
#pragma once

#include <string>

#include "check/check_platform.h"
#include "check/drawing.h"

namespace quillbit {

struct FileReport {
  std::string output;  // for standard output, every line ended by "\n"
  std::string error;   // for standard error: what could not be read
  bool clean = true;   // no finding and nothing unreadable
};

// A header is a file named *.h or one that starts with the header banner; any other
// file is a picture.
FileReport CheckFile(CheckPlatform& platform, const std::string& path, DrawingStyle style);

}  // namespace quillbit
