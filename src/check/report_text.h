// quillbit-check's report on one file in words: what a terminal, a pipe or a log shows.
#pragma once

#include <string>

#include "check/check_report.h"
#include "check/drawing.h"

namespace quillbit {

struct ReportText {
  std::string output;  // for standard output, every line ended by "\n"
  std::string error;   // for standard error: what could not be read
};

ReportText RenderText(const CheckReport& report, DrawingStyle style);

}  // namespace quillbit
