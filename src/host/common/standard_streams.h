// Text onto the standard streams, each write flushed and checked. The terminal programs
// write through one StandardStreams: the C library's streams natively, Node's descriptors
// under Node, where the C library's stdout is a console.log per line.
#pragma once

#include <optional>
#include <string>

namespace quillbit {

class StandardStreams {
 public:
  virtual ~StandardStreams() = default;
  // Writes text to standard output (error false) or standard error (error true) at once;
  // the system's reason when that failed.
  virtual std::optional<std::string> Put(const std::string& text, bool error) = 0;
};

// stdout and stderr of the C library.
StandardStreams& CStandardStreams();

// Writes text through streams; throws a run-time error naming the stream when that fails.
void WriteStandardStream(const std::string& text, bool error,
                         StandardStreams& streams = CStandardStreams());

}  // namespace quillbit
