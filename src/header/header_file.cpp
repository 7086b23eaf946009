#include "header/header_file.h"

#include "host/run_end.h"

namespace quillbit {

namespace {

const char* const kBanner = "//Image data created by Quillbit 1.0 Beta (Marrowick)";
const char* const kLineEnd = "\r\n";

// How one plane is laid out: hex digits per value and values per line.
struct Layout {
  Int16 digits;
  Int16 valuesPerLine;
};

Layout LayoutFor(const ConversionState& state) {
  if (state.strSpriteType == "8") return {Int16(2), Int16(8)};
  if (state.strSpriteType == "16") return {Int16(4), Int16(8)};
  if (state.strSpriteType == "32") return {Int16(8), Int16(4)};
  return {Int16(2), Int16::Round(state.intWidth.get() / 8.0)};
}

const char* ElementType(Int16 digits) {
  switch (digits.get()) {
    case 2: return "char ";
    case 4: return "short int ";
    default: return "long int ";
  }
}

// ASCII letters only: other bytes of the name pass through unchanged.
std::string UCase(std::string text) {
  for (char& ch : text)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return text;
}

void AppendLine(std::string& out, const std::string& line) {
  out += line;
  out += kLineEnd;
}

// One value as it appears in a line: "0x", its digits, then "," or "};" after the last.
struct ValueText {
  char text[16] = {'0', 'x'};
  std::size_t size = 2;

  void Digit(char digit) {
    if (size < sizeof text - 2) text[size++] = digit;
  }
  void Reset() { size = 2; }
};

void AppendDataLines(std::string& out, const OneBasedArray<Int16>& nibbles, Layout layout) {
  static const char kHexDigits[] = "0123456789ABCDEF";
  // Values go straight into out, each in one append: a plane has thousands of them.
  // Counters are plain ints, as a plane has at most 8192 nibbles.
  const int last = nibbles.UBound().get();
  const int digits = layout.digits.get();
  const int valuesPerLine = layout.valuesPerLine.get();
  ValueText value;
  bool lineOpen = false;  // the line's tab is written
  int d = 0;
  int v = 0;
  for (int i = 1; i <= last; ++i) {
    value.Digit(kHexDigits[nibbles(Int16(static_cast<std::int16_t>(i))).get() & 0xF]);
    if (++d == digits) {
      if (!lineOpen) out += '\t';
      lineOpen = true;
      out.append(value.text, value.size);
      out += i == last ? "};" : ",";
      value.Reset();
      d = 0;
      ++v;
    }
    if (i == last || v == valuesPerLine) {
      if (!lineOpen) out += '\t';  // a line without values is a lone tab
      out += kLineEnd;
      lineOpen = false;
      value.Reset();
      v = 0;
    }
  }
}

void AppendPlane(std::string& out, const std::string& base, const std::string& plane,
                 const std::string& arraySuffix, const OneBasedArray<Int16>& nibbles,
                 Layout layout) {
  AppendLine(out, "// " + base + " --- bitplane " + plane);
  AppendLine(out,
             std::string("unsigned ") + ElementType(layout.digits) + base + arraySuffix + "[] = {");
  AppendDataLines(out, nibbles, layout);
}

}  // namespace

std::string HeaderPathFor(const std::string& picturePath) {
  std::size_t cut = picturePath.size();
  for (int characters = 0; characters < 3; ++characters) {
    if (cut == 0) {
      throw RunTimeError("cannot name the header of \"" + picturePath +
                         "\": the name is shorter than three characters");
    }
    do --cut;  // step back over one whole UTF-8 character
    while (cut > 0 && (static_cast<unsigned char>(picturePath[cut]) & 0xC0) == 0x80);
  }
  return picturePath.substr(0, cut) + "h";
}

std::string HeaderText(const ConversionState& state, const std::string& base) {
  const Layout layout = LayoutFor(state);
  const std::string upperBase = UCase(base);
  std::string out;
  // Room for every line at once: about three characters per nibble at most.
  out.reserve(256 + 4 * base.size() +
              3 * static_cast<std::size_t>(state.intNibbles1.UBound().get() +
                                           state.intNibbles2.UBound().get()));
  AppendLine(out, kBanner);
  AppendLine(out, "#define " + upperBase + "_WIDTH " + std::to_string(state.intWidth.get()));
  AppendLine(out, "#define " + upperBase + "_HEIGHT " + std::to_string(state.intHeight.get()));
  AppendLine(out, "");
  AppendPlane(out, base, "1", state.blnGrey ? "1" : "", state.intNibbles1, layout);
  if (state.blnGrey) {
    AppendLine(out, "");
    AppendPlane(out, base, "2", "2", state.intNibbles2, layout);
  }
  return out;
}

void WriteHeaderFile(ConversionState& state, Host& host, const std::string& path) {
  const std::string outputPath = HeaderPathFor(path);
  const std::string base = FsoFiles(state, host).GetBaseName(path);
  host.WriteTextFile(outputPath, HeaderText(state, base));
}

}  // namespace quillbit
