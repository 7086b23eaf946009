#include "check/drawing.h"

#include <gtest/gtest.h>

namespace quillbit::testing {
namespace {

constexpr Level B = Level::Black, G = Level::DarkGrey, H = Level::LightGrey, O = Level::Background;

TEST(Drawing, PlainDrawingIsOneCharacterAPixelWithALegend) {
  const Sprite sprite{4, 2, {B, G, H, O, O, H, G, B}};
  EXPECT_EQ(DrawSprite(sprite, DrawingStyle::Plain),
            "#+-.\n"
            ".-+#\n"
            "# black, + dark grey, - light grey, . background\n");
}

TEST(Drawing, TerminalDrawingPutsTwoRowsInALineAndSendsOnlyColourChanges) {
  // Three rows: the third shares its line with the terminal's own background.
  const Sprite sprite{3, 3, {B, B, O, H, H, G, O, H, B}};
  EXPECT_EQ(DrawSprite(sprite, DrawingStyle::Terminal),
            "\x1B[38;5;16;48;5;248m\xE2\x96\x80\xE2\x96\x80"
            "\x1B[38;5;231;48;5;240m\xE2\x96\x80\x1B[0m\n"
            "\x1B[38;5;231;49m\xE2\x96\x80\x1B[38;5;248;49m\xE2\x96\x80"
            "\x1B[38;5;16;49m\xE2\x96\x80\x1B[0m\n"
            "\x1B[48;5;16m  \x1B[0m black  \x1B[48;5;240m  \x1B[0m dark grey  "
            "\x1B[48;5;248m  \x1B[0m light grey  \x1B[48;5;231m  \x1B[0m background\n");
}

TEST(Drawing, ColourOnlyOnATerminalThatShowsItAndIsNotToldOtherwise) {
  const struct {
    bool terminal, escapes, utf8;
    std::optional<std::string> noColor, term;
    DrawingStyle style;
  } cases[] = {
      {true, true, true, std::nullopt, "xterm-256color", DrawingStyle::Terminal},
      {true, true, true, std::nullopt, std::nullopt, DrawingStyle::Terminal},
      {true, true, true, "", "xterm", DrawingStyle::Terminal},  // empty NO_COLOR: not set
      {true, true, true, "1", "xterm", DrawingStyle::Plain},
      {true, true, true, "0", "xterm", DrawingStyle::Plain},  // any value counts
      {true, true, true, std::nullopt, "dumb", DrawingStyle::Plain},
      {false, false, true, std::nullopt, "xterm", DrawingStyle::Plain},      // a pipe or a file
      {true, false, true, std::nullopt, std::nullopt, DrawingStyle::Plain},  // an old console
      {true, true, false, std::nullopt, "xterm", DrawingStyle::Plain},       // a Latin-1 locale
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.terminal << c.escapes << c.utf8
                                      << " NO_COLOR=" << c.noColor.value_or("(unset)")
                                      << " TERM=" << c.term.value_or("(unset)"));
    EXPECT_EQ(ChooseDrawingStyle({c.terminal, c.escapes, c.utf8, c.noColor, c.term}), c.style);
  }
}

}  // namespace
}  // namespace quillbit::testing
