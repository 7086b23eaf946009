#include "palette/palette_files.h"

#include <cstdio>

namespace quillbit {

namespace {

const char* const kBase = "quillbit-levels";

unsigned Channel(std::uint32_t rgb, int shift) { return rgb >> shift & 0xFF; }

std::string Decimal(std::uint32_t rgb, const char* format) {
  char text[16];
  std::snprintf(text, sizeof text, format, Channel(rgb, 16), Channel(rgb, 8), Channel(rgb, 0));
  return text;
}

std::string Hex(std::uint32_t rgb) { return Decimal(rgb, "%02X%02X%02X"); }

// GIMP's "GIMP Palette" version 2: a name, the columns, then "R G B<tab>name" lines.
std::string Gimp(const std::vector<DrawingColour>& colours) {
  std::string text =
      "GIMP Palette\nName: quillbit levels\nColumns: " + std::to_string(colours.size()) +
      "\n# exact colours quillbit converts\n";
  for (const DrawingColour& colour : colours)
    text += Decimal(colour.rgb, "%3u %3u %3u") + "\t" + colour.name + "\n";
  return text;
}

// Paint Shop Pro's JASC-PAL, version 0100, with CR LF lines; it has no place for names.
std::string Jasc(const std::vector<DrawingColour>& colours) {
  std::string text = "JASC-PAL\r\n0100\r\n" + std::to_string(colours.size()) + "\r\n";
  for (const DrawingColour& colour : colours) text += Decimal(colour.rgb, "%u %u %u") + "\r\n";
  return text;
}

// Lospec's plain list: one RRGGBB a line, nothing else.
std::string HexList(const std::vector<DrawingColour>& colours) {
  std::string text;
  for (const DrawingColour& colour : colours) text += Hex(colour.rgb) + "\n";
  return text;
}

// Adobe's colour table: 256 RGB triples, then the number of colours used (big-endian) and
// the transparent index, 0xFFFF for none.
std::string AdobeTable(const std::vector<DrawingColour>& colours) {
  std::string bytes(768, '\0');
  for (std::size_t i = 0; i < colours.size() && i < 256; ++i)
    for (int c = 0; c < 3; ++c)
      bytes[i * 3 + static_cast<std::size_t>(c)] =
          static_cast<char>(Channel(colours[i].rgb, 16 - 8 * c));
  bytes += static_cast<char>(colours.size() >> 8 & 0xFF);
  bytes += static_cast<char>(colours.size() & 0xFF);
  return bytes + "\xFF\xFF";
}

// paint.net's palette: comment lines start with ";", colours are AARRGGBB.
std::string PaintNet(const std::vector<DrawingColour>& colours) {
  std::string text =
      "; paint.net Palette File\r\n; quillbit levels: exact colours quillbit converts\r\n";
  for (const DrawingColour& colour : colours)
    text += "; " + std::string(colour.name) + "\r\nFF" + Hex(colour.rgb) + "\r\n";
  return text;
}

}  // namespace

std::vector<PaletteFile> PaletteFiles(const std::vector<DrawingColour>& colours) {
  const std::string base = kBase;
  return {{base + ".gpl", Gimp(colours)},
          {base + ".pal", Jasc(colours)},
          {base + ".hex", HexList(colours)},
          {base + ".act", AdobeTable(colours)},
          {base + ".txt", PaintNet(colours)}};
}

}  // namespace quillbit
