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

void AppendDataLines(std::string& out, const OneBasedArray<Int16>& nibbles, Layout layout) {
  static const char kHexDigits[] = "0123456789ABCDEF";
  const Int16 one(1);
  const Int16 last = nibbles.UBound();
  std::string num;
  std::string line;
  Int16 d;
  Int16 v;
  for (Int16 i = one; i <= last; i += one) {
    num += kHexDigits[nibbles(i).get() & 0xF];
    d += one;
    if (d == layout.digits) {
      line += "0x" + num + (i == last ? "};" : ",");
      num.clear();
      d = Int16();
      v += one;
    }
    if (i == last || v == layout.valuesPerLine) {
      AppendLine(out, "\t" + line);
      line.clear();
      num.clear();
      v = Int16();
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
