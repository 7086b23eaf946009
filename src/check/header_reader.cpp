#include "check/header_reader.h"

#include <vector>

#include "analysis/picture_intake.h"
#include "check/text_difference.h"
#include "header/header_file.h"

namespace quillbit {

namespace {

const char* const kPlaneCaption = " --- bitplane ";

struct Problem {
  std::string text;
};

// The lines of text without their line ends; the empty piece after a last line end is
// no line. Line ends are checked later, against the writer's own text.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const std::string& LineOf(const std::vector<std::string>& lines, std::size_t number,
                          const std::string& shape) {
  if (number > lines.size())
    throw Problem{"it ends before line " + std::to_string(number) + ", " + shape};
  return lines[number - 1];
}

// A size as the writer prints it: plain decimal, no sign or leading zero, 1 to 32767.
int SizeOn(const std::vector<std::string>& lines, std::size_t number, const std::string& macro) {
  const std::string shape = "\"#define <NAME>" + macro + " <number>\"";
  const std::string& line = LineOf(lines, number, shape);
  const std::size_t blank = line.rfind(' ');
  const std::string digits = blank == std::string::npos ? "" : line.substr(blank + 1);
  const bool decimal = !digits.empty() && digits.size() <= 5 && digits[0] != '0' &&
                       digits.find_first_not_of("0123456789") == std::string::npos;
  if (!StartsWith(line, "#define ") || !EndsWith(line.substr(0, blank), macro) || !decimal)
    throw Problem{"line " + std::to_string(number) + " is not " + shape};
  const int value = std::stoi(digits);
  if (value > Int16::kMax)
    throw Problem{"line " + std::to_string(number) + " gives a size beyond quillbit's limits"};
  return value;
}

std::string BaseOn(const std::vector<std::string>& lines, std::size_t number,
                   const std::string& plane) {
  const std::string caption = kPlaneCaption + plane;
  const std::string shape = "\"// <name>" + caption + "\"";
  const std::string& line = LineOf(lines, number, shape);
  if (!StartsWith(line, "// ") || !EndsWith(line, caption) || line.size() < 3 + caption.size())
    throw Problem{"line " + std::to_string(number) + " is not " + shape};
  return line.substr(3, line.size() - 3 - caption.size());
}

int HexDigit(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return -1;
}

void AppendValue(std::vector<int>& nibbles, const std::string& value, std::size_t number) {
  const bool hex = value.size() > 2 && StartsWith(value, "0x");
  for (std::size_t i = 2; hex && i < value.size(); ++i) {
    const int nibble = HexDigit(value[i]);
    if (nibble < 0) break;
    nibbles.push_back(nibble);
    if (i + 1 == value.size()) return;
  }
  throw Problem{"line " + std::to_string(number) + " holds \"" + value +
                "\" where a value like 0x0F belongs"};
}

// The nibbles of the data lines from line number on: each a TAB, then values each
// followed by a comma, the array's last one by "};". Moves number past them.
std::vector<int> NibblesFrom(const std::vector<std::string>& lines, std::size_t& number) {
  std::vector<int> nibbles;
  for (; number <= lines.size() && StartsWith(lines[number - 1], "\t"); ++number) {
    std::string values = lines[number - 1].substr(1);
    if (EndsWith(values, "};")) {
      values.resize(values.size() - 2);
    } else if (EndsWith(values, ",")) {
      values.pop_back();
    }
    std::size_t start = 0;
    for (std::size_t comma; (comma = values.find(',', start)) != std::string::npos;
         start = comma + 1)
      AppendValue(nibbles, values.substr(start, comma - start), number);
    AppendValue(nibbles, values.substr(start), number);
  }
  return nibbles;
}

void CheckSize(int width, int height) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width * height > Int16::kMax)
    throw Problem{"its " + size + " pixels are more than quillbit converts"};
  if (width % 8 != 0)
    throw Problem{"its width " + std::to_string(width) +
                  " is no multiple of 8, and quillbit writes no header then"};
}

OneBasedArray<Int16> NibbleArray(const std::vector<int>& nibbles, int needed, int plane) {
  if (static_cast<int>(nibbles.size()) != needed) {
    throw Problem{"bitplane " + std::to_string(plane) + " holds " +
                  std::to_string(nibbles.size() * 4) + " pixels where the sprite has " +
                  std::to_string(needed * 4)};
  }
  OneBasedArray<Int16> array;
  array.ReDim(Int16::FromInt(needed));
  for (int i = 0; i < needed; ++i)
    array(Int16::FromInt(i + 1)) = Int16::FromInt(nibbles[static_cast<std::size_t>(i)]);
  return array;
}

Sprite SpriteOfNibbles(const ConversionState& state) {
  Sprite sprite;
  sprite.width = state.intWidth.get();
  sprite.height = state.intHeight.get();
  for (int i = 1; i <= state.intNibbles1.UBound().get(); ++i) {
    const int bits1 = state.intNibbles1(Int16::FromInt(i)).get();
    const int bits2 = state.intNibbles2(Int16::FromInt(i)).get();
    for (int bit = 3; bit >= 0; --bit)
      sprite.cells.push_back(LevelOfBits((bits1 >> bit) & 1, (bits2 >> bit) & 1));
  }
  return sprite;
}

bool HasGrey(const Sprite& sprite) {
  for (const Level level : sprite.cells)
    if (level == Level::DarkGrey || level == Level::LightGrey) return true;
  return false;
}

// The state quillbit had when it wrote the header in lines, as far as the lines tell.
ConversionState StateOf(const std::vector<std::string>& lines, const std::string& base) {
  ConversionState state;
  const int width = SizeOn(lines, 2, "_WIDTH");
  const int height = SizeOn(lines, 3, "_HEIGHT");
  CheckSize(width, height);
  state.intWidth = Int16::FromInt(width);
  state.intHeight = Int16::FromInt(height);
  state.strSpriteType = SpriteTypeFor(state.intWidth);
  std::size_t number = 7;
  const std::vector<int> plane1 = NibblesFrom(lines, number);
  state.blnGrey = number + 1 <= lines.size();  // a caption follows the first plane
  const int needed = width * height / 4;
  state.intNibbles1 = NibbleArray(plane1, needed, 1);
  state.intNibbles2 = state.intNibbles1;
  if (state.blnGrey) {
    if (BaseOn(lines, number + 1, "2") != base)
      throw Problem{"line " + std::to_string(number + 1) + " names another sprite than line 5"};
    number += 3;
    state.intNibbles2 = NibbleArray(NibblesFrom(lines, number), needed, 2);
  }
  return state;
}

HeaderContents ContentsOf(const std::string& bytes) {
  const std::vector<std::string> lines = Lines(bytes);
  if (lines.empty() || lines[0] != HeaderBanner())
    throw Problem{"its first line is not quillbit's \"" + HeaderBanner() + "\""};
  const std::string base = BaseOn(lines, 5, "1");
  const ConversionState state = StateOf(lines, base);
  const std::string difference = FirstDifference(HeaderText(state, base), bytes);
  if (!difference.empty()) throw Problem{difference};
  HeaderContents contents{base, state.blnGrey, SpriteOfNibbles(state)};
  if (contents.grey && !HasGrey(contents.sprite))
    throw Problem{"it has two bitplanes without a grey pixel; quillbit writes one then"};
  return contents;
}

}  // namespace

const std::string& HeaderBanner() {
  // Taken from the writer itself, so there is one banner in the program.
  static const std::string banner = [] {
    const std::string text = HeaderText(ConversionState{}, "");
    return text.substr(0, text.find("\r\n"));
  }();
  return banner;
}

bool StartsWithHeaderBanner(const std::string& bytes) { return StartsWith(bytes, HeaderBanner()); }

HeaderReading ReadQuillbitHeader(const std::string& bytes) {
  try {
    return {ContentsOf(bytes), {}};
  } catch (const Problem& problem) {
    return {std::nullopt, problem.text};
  }
}

}  // namespace quillbit
