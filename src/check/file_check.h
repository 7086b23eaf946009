// quillbit-check's look at one file named to it: a picture or a header quillbit wrote.
#pragma once

#include <string>

#include "check/check_platform.h"
#include "check/check_report.h"

namespace quillbit {

// A header is a file named *.h or one that starts with the header banner; any other
// file is a picture.
CheckReport CheckFile(CheckPlatform& platform, const std::string& path);

}  // namespace quillbit
