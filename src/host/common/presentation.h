// How messages reach the user: on a terminal, or in modal message boxes.
#pragma once

#include <string>

#include "host/common/standard_streams.h"
#include "host/host.h"

namespace quillbit {

class Presentation {
 public:
  virtual ~Presentation() = default;
  // Shows text and returns once the user has seen it (a box: once dismissed).
  virtual void Show(const std::string& text, MessageKind kind) = 0;
};

// Information on standard output, errors on standard error, CR LF as a line break.
// Errors are read by a person: control characters in them are shown escaped. So is the
// information where standard output is a terminal; to a pipe or a file (build logs,
// scripts) it goes byte for byte.
class TerminalPresentation : public Presentation {
 public:
  explicit TerminalPresentation(bool outputIsTerminal,
                                StandardStreams& streams = CStandardStreams())
      : outputIsTerminal_(outputIsTerminal), streams_(streams) {}
  void Show(const std::string& text, MessageKind kind) override;

 private:
  bool outputIsTerminal_;
  StandardStreams& streams_;
};

// The message's text with each CR LF turned into one line feed.
std::string WithLineFeeds(const std::string& text);

}  // namespace quillbit
