// Text onto the standard streams, each write flushed and checked, for the programs that
// print reports rather than messages.
#pragma once

#include <string>

namespace quillbit {

// Writes text to standard output (error false) or standard error (error true) and flushes
// it; throws a run-time error naming the stream when that fails.
void WriteStandardStream(const std::string& text, bool error);

}  // namespace quillbit
