#include "host/common/presentation.h"
#include "host/common/shown_text.h"

namespace quillbit {

std::string WithLineFeeds(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

void TerminalPresentation::Show(const std::string& text, MessageKind kind) {
  const bool shown = kind != MessageKind::Information || outputIsTerminal_;
  std::string line = WithLineFeeds(shown ? MessageShown(text) : text) + "\n";
  if (kind == MessageKind::Information) {
    // Flushed at once, so a full disk or a closed pipe stops the batch at this picture
    // instead of passing unnoticed in the buffer; its header is not written.
    WriteStandardStream(line, false, streams_);
    return;
  }
  if (kind == MessageKind::RunTimeError) line = "quillbit: " + line;
  streams_.Put(line, true);  // where even the report cannot go, the status still tells
}

}  // namespace quillbit
