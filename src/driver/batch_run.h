// The whole run: argument text, one conversion per quoted picture, the companion header.
#pragma once

#include "host/host.h"

namespace quillbit {

// The name of the companion header, in the program's folder and beside the last picture.
extern const char* const kCompanionName;

// Runs the batch and ends it with End() on every path; never returns normally.
[[noreturn]] void RunBatch(Host& host);

}  // namespace quillbit
