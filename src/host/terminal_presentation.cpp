#include <cstdio>

#include "host/presentation.h"

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
  std::string line = WithLineFeeds(text) + "\n";
  if (kind == MessageKind::Information) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    return;
  }
  if (kind == MessageKind::RunTimeError) line = "quillbit: " + line;
  std::fflush(stdout);  // keep the order of a log that collects both streams
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace quillbit
