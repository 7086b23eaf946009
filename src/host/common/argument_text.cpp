#include "host/common/argument_text.h"

namespace quillbit {

std::optional<std::string> QuoteArguments(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (argument.find('"') != std::string::npos) return std::nullopt;
    if (!text.empty()) text += ' ';
    text += '"' + argument + '"';
  }
  return text;
}

}  // namespace quillbit
