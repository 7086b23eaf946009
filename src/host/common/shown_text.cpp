#include "host/common/shown_text.h"

#include <cstdio>

namespace quillbit {

namespace {

void AddByte(std::string& shown, unsigned char byte) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
  shown += escaped;
}

// UTF-8 of U+0080 to U+009F, which some terminals obey like the C0 controls.
bool IsC1Control(const std::string& text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) == 0xC2 && at + 1 < text.size() &&
         (static_cast<unsigned char>(text[at + 1]) & 0xE0) == 0x80;
}

}  // namespace

std::string ControlsShown(const std::string& text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\t') {
      shown += "\\t";
    } else if (byte == '\r') {
      shown += "\\r";
    } else if (byte < 0x20 || byte == 0x7F) {
      AddByte(shown, byte);
    } else if (IsC1Control(text, i)) {
      AddByte(shown, byte);
      AddByte(shown, static_cast<unsigned char>(text[++i]));
    } else {
      shown += static_cast<char>(byte);
    }
  }
  return shown;
}

std::string MessageShown(const std::string& text) {
  std::string shown;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    shown += ControlsShown(text.substr(start, end - start)) + "\r\n";
  return shown + ControlsShown(text.substr(start));
}

}  // namespace quillbit
