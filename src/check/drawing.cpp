#include "check/drawing.h"

namespace quillbit {

namespace {

// "▀": the upper pixel in the foreground colour, the lower one in the background colour.
const char* const kUpperHalfBlock = "\xE2\x96\x80";
const char* const kReset = "\x1B[0m";

char PlainCharacter(Level level) {
  switch (level) {
    case Level::Black: return '#';
    case Level::DarkGrey: return '+';
    case Level::LightGrey: return '-';
    case Level::Background: break;
  }
  return '.';
}

// Entries of the 256-colour palette, which terminals keep fixed (unlike the first 16,
// which themes change): black, the greys nearest #555555 and #AAAAAA, and white for
// the background, as the sprite shows on a screen whose pixels are off.
int PaletteEntry(Level level) {
  switch (level) {
    case Level::Black: return 16;
    case Level::DarkGrey: return 240;
    case Level::LightGrey: return 248;
    case Level::Background: break;
  }
  return 231;
}

std::string Background(Level level) {
  return "\x1B[48;5;" + std::to_string(PaletteEntry(level)) + "m";
}

// One escape sequence for both colours of a cell; without a lower pixel, the terminal's
// own background.
std::string CellColours(Level upper, const Level* lower) {
  return "\x1B[38;5;" + std::to_string(PaletteEntry(upper)) +
         (lower ? ";48;5;" + std::to_string(PaletteEntry(*lower)) : std::string(";49")) + "m";
}

std::string PlainDrawing(const Sprite& sprite) {
  std::string text;
  for (int y = 0; y < sprite.height; ++y) {
    for (int x = 0; x < sprite.width; ++x) text += PlainCharacter(sprite.At(x, y));
    text += '\n';
  }
  std::string legend;
  for (const Level level : kLevels)
    legend +=
        std::string(legend.empty() ? "" : ", ") + PlainCharacter(level) + " " + LevelName(level);
  return text + legend + "\n";
}

// Rows y and y + 1 in one line; below a last odd row the terminal's own background stays.
std::string TerminalRows(const Sprite& sprite, int y) {
  std::string line;
  std::string colours;  // the escape sequence in force, to send only changes
  for (int x = 0; x < sprite.width; ++x) {
    Level lower = Level::Background;
    if (y + 1 < sprite.height) lower = sprite.At(x, y + 1);
    const std::string wanted =
        CellColours(sprite.At(x, y), y + 1 < sprite.height ? &lower : nullptr);
    if (wanted != colours) line += wanted;
    colours = wanted;
    line += kUpperHalfBlock;
  }
  return line + kReset + "\n";
}

std::string TerminalDrawing(const Sprite& sprite) {
  std::string text;
  for (int y = 0; y < sprite.height; y += 2) text += TerminalRows(sprite, y);
  std::string legend;
  for (const Level level : kLevels)
    legend += std::string(legend.empty() ? "" : "  ") + Background(level) + "  " + kReset + " " +
              LevelName(level);
  return text + legend + "\n";
}

}  // namespace

DrawingStyle ChooseDrawingStyle(const TerminalFacts& facts) {
  const bool noColor = facts.noColor && !facts.noColor->empty();
  const bool dumb = facts.term && *facts.term == "dumb";
  if (facts.isTerminal && facts.takesEscapes && facts.takesUtf8 && !noColor && !dumb)
    return DrawingStyle::Terminal;
  return DrawingStyle::Plain;
}

std::string DrawSprite(const Sprite& sprite, DrawingStyle style) {
  return style == DrawingStyle::Terminal ? TerminalDrawing(sprite) : PlainDrawing(sprite);
}

}  // namespace quillbit
