// quillbit-check from its arguments to its exit status.
#pragma once

#include <string>
#include <vector>

#include "check/check_platform.h"

namespace quillbit {

// Exit statuses of quillbit-check, so that it can guard a build or a commit.
enum class CheckStatus : int {
  Clean = 0,     // every file converts exactly as drawn; no header is out of date
  Findings = 1,  // a finding, or a file that cannot be read
  Usage = 2,     // no files, or an option it does not know
};

// The usage text of --help.
const char* CheckUsage();

// Checks every file named in arguments (the program's name left out) and writes the
// reports through platform; returns the exit status.
int RunCheck(CheckPlatform& platform, const std::vector<std::string>& arguments);

}  // namespace quillbit
