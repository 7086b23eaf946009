#include "header_shape.h"

#include <cstddef>
#include <vector>

#include "fuzz_check.h"

namespace quillbit::fuzz {
namespace {

struct Element {
  int digits;
  int perLine;
  const char* type;
};

Element ElementOf(const ConversionState& state) {
  if (state.strSpriteType == "8") return {2, 8, "char"};
  if (state.strSpriteType == "16") return {4, 8, "short int"};
  if (state.strSpriteType == "32") return {8, 4, "long int"};
  return {2, state.intWidth.get() / 8, "char"};
}

// Splits at CR LF; a lone CR or LF anywhere is a failure.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
    FUZZ_CHECK(lines.back().find_first_of("\r\n") == std::string::npos);
  }
  FUZZ_CHECK(start == text.size());  // the last line ends with CR LF too
  return lines;
}

std::string Upper(std::string text) {
  for (char& ch : text)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return text;
}

std::string Hex(const OneBasedArray<Int16>& nibbles, int first, int digits) {
  std::string hex;
  for (int i = first; i < first + digits; ++i)
    hex += "0123456789ABCDEF"[nibbles(Int16::FromInt(i)).get()];
  return hex;
}

// One data line: a tab, then values each followed by "," or, the very last, "};".
std::size_t CheckDataLine(const std::string& line, const OneBasedArray<Int16>& nibbles,
                          Element element, int& nextNibble) {
  FUZZ_CHECK(!line.empty() && line[0] == '\t');
  const std::size_t digits = static_cast<std::size_t>(element.digits);
  const std::size_t valueSize = 2 + digits + 1;
  std::size_t values = 0;
  for (std::size_t at = 1; at < line.size(); at += valueSize, ++values) {
    FUZZ_CHECK(line.compare(at, 2, "0x") == 0);
    FUZZ_CHECK(line.compare(at + 2, digits, Hex(nibbles, nextNibble, element.digits)) == 0);
    nextNibble += element.digits;
    const bool last = nextNibble > nibbles.UBound().get();
    FUZZ_CHECK(line.compare(at + 2 + digits, last ? 2 : 1, last ? "};" : ",") == 0);
    if (last) {
      FUZZ_CHECK(at + valueSize + 1 == line.size());
      return values + 1;
    }
  }
  return values;
}

// A plane: comment, declaration, then full lines of values; returns the next line.
std::size_t CheckPlane(const std::vector<std::string>& lines, std::size_t at,
                       const std::string& base, const std::string& plane, const std::string& suffix,
                       const OneBasedArray<Int16>& nibbles, Element element) {
  FUZZ_CHECK(at + 2 < lines.size());
  FUZZ_CHECK(lines[at] == "// " + base + " --- bitplane " + plane);
  FUZZ_CHECK(lines[at + 1] ==
             std::string("unsigned ") + element.type + " " + base + suffix + "[] = {");
  int nextNibble = 1;
  for (at += 2; nextNibble <= nibbles.UBound().get(); ++at) {
    FUZZ_CHECK(at < lines.size());
    const std::size_t values = CheckDataLine(lines[at], nibbles, element, nextNibble);
    const bool lastLine = nextNibble > nibbles.UBound().get();
    FUZZ_CHECK(lastLine ? values >= 1 && values <= static_cast<std::size_t>(element.perLine)
                        : values == static_cast<std::size_t>(element.perLine));
  }
  return at;
}

}  // namespace

void CheckHeaderShape(const std::string& text, const ConversionState& state,
                      const std::string& base) {
  const std::vector<std::string> lines = CrLfLines(text);
  const Element element = ElementOf(state);
  FUZZ_CHECK(state.intNibbles1.UBound().get() % element.digits == 0);
  FUZZ_CHECK(lines.size() > 4 && lines[0].compare(0, 2, "//") == 0);
  const std::string macro = "#define " + Upper(base);
  FUZZ_CHECK(lines[1] == macro + "_WIDTH " + std::to_string(state.intWidth.get()));
  FUZZ_CHECK(lines[2] == macro + "_HEIGHT " + std::to_string(state.intHeight.get()));
  FUZZ_CHECK(lines[3].empty());
  std::size_t at =
      CheckPlane(lines, 4, base, "1", state.blnGrey ? "1" : "", state.intNibbles1, element);
  if (state.blnGrey) {
    FUZZ_CHECK(at < lines.size() && lines[at].empty());
    at = CheckPlane(lines, at + 1, base, "2", "2", state.intNibbles2, element);
  }
  FUZZ_CHECK(at == lines.size());
}

}  // namespace quillbit::fuzz
