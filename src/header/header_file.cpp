#include "header/header_file.h"

#include <algorithm>

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

// Room enough for the data lines of count nibbles: each value takes at most a tab, "0x",
// its digits, "};" and CR LF.
std::size_t MostDataBytes(int count, int digits) {
  return static_cast<std::size_t>(count / digits + 1) * static_cast<std::size_t>(digits + 7);
}

// The data lines of one plane, written in place: a plane has thousands of values. A
// value's digits are fixed by the layout (2, 4 or 8: one row of an 8-, 16- or 32-pixel
// sprite, or one byte of a wider row), and the width rule makes each row a whole number
// of values, so the last nibble always closes a value; a count that did not would stop
// at the array's bounds check. Plain int counters: a plane holds at most 8192 nibbles.
void AppendDataLines(std::string& out, const OneBasedArray<Int16>& nibbles, Layout layout) {
  static const char kHexDigits[] = "0123456789ABCDEF";
  const int count = nibbles.UBound().get();
  const int digits = layout.digits.get();
  const int valuesPerLine = layout.valuesPerLine.get();
  const std::size_t start = out.size();
  out.resize(start + MostDataBytes(count, digits));
  char* at = &out[start];
  int onLine = 0;
  for (int first = 1; first <= count; first += digits) {
    if (onLine == 0) *at++ = '\t';
    *at++ = '0';
    *at++ = 'x';
    for (int i = first; i < first + digits; ++i)
      *at++ = kHexDigits[nibbles(Int16::FromInt(i)).get() & 0xF];
    const bool lastValue = first + digits > count;
    at = std::copy_n(lastValue ? "};" : ",", lastValue ? 2 : 1, at);
    if (++onLine == valuesPerLine || lastValue) {
      at = std::copy_n(kLineEnd, 2, at);
      onLine = 0;
    }
  }
  out.resize(static_cast<std::size_t>(at - out.data()));
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
  // Room for every line at once: the data lines are written in place.
  out.reserve(256 + 4 * base.size() +
              MostDataBytes(state.intNibbles1.UBound().get(), layout.digits.get()) +
              MostDataBytes(state.intNibbles2.UBound().get(), layout.digits.get()));
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
