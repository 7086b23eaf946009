#include "check/text_difference.h"

#include <optional>

#include "host/common/shown_text.h"

namespace quillbit {

namespace {

constexpr std::size_t kShownCharacters = 60;

// The line at number (from 1), with its CR but without its LF; nullopt past the end.
std::optional<std::string> LineAt(const std::string& text, std::size_t number) {
  std::size_t start = 0;
  for (std::size_t line = 1; line < number; ++line) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) return std::nullopt;
    start = end + 1;
  }
  if (start == text.size() && number > 1) return std::nullopt;
  const std::size_t end = text.find('\n', start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string Shown(const std::string& line) {
  if (line.size() > kShownCharacters)
    return "\"" + ControlsShown(line.substr(0, kShownCharacters)) + "...\"";
  return "\"" + ControlsShown(line) + "\"";
}

std::string WithoutCr(const std::string& line) {
  return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}

std::size_t FirstDifferentLine(const std::string& expected, const std::string& actual) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
    if (expected[i] != actual[i]) return line;
    if (expected[i] == '\n') ++line;
  }
  return line;
}

}  // namespace

std::string FirstDifference(const std::string& expected, const std::string& actual) {
  if (expected == actual) return {};
  if (actual.empty()) return "the file is empty";
  const std::size_t number = FirstDifferentLine(expected, actual);
  const std::optional<std::string> wanted = LineAt(expected, number);
  const std::optional<std::string> found = LineAt(actual, number);
  const std::string where = "line " + std::to_string(number);
  if (!found)
    return "it ends before " + where + ", where quillbit writes " + Shown(wanted.value_or(""));
  if (!wanted) return where + " " + Shown(WithoutCr(*found)) + " follows the end quillbit writes";
  if (WithoutCr(*wanted) == WithoutCr(*found))
    return where + " does not end in CR LF as quillbit ends every line";
  return where + " reads " + Shown(WithoutCr(*found)) + " where quillbit writes " +
         Shown(WithoutCr(*wanted));
}

}  // namespace quillbit
