#include "check/header_reader.h"

#include <gtest/gtest.h>

#include "check/conversion_preview.h"
#include "fake_check_platform.h"

namespace quillbit::testing {
namespace {

// A sprite of width x height whose levels follow a pattern that differs row to row.
DecodedPicture Pattern(int width, int height, bool grey) {
  const std::uint32_t levels[] = {K, W, grey ? D : K, grey ? L : W, W};
  DecodedPicture picture{width, height, {}};
  for (int i = 0; i < width * height; ++i) picture.argb.push_back(levels[(i * 7 + i / 5) % 5]);
  return picture;
}

ConversionPreview Preview(const DecodedPicture& picture, const std::string& path = "art/s.png") {
  FakeCheckPlatform platform;
  return PreviewConversion(picture, path, platform);
}

TEST(HeaderReader, HeadersOfEveryLayoutGiveBackThePicturesLevels) {
  const struct {
    int width, height;
  } sizes[] = {{8, 1}, {8, 9}, {16, 2}, {16, 17}, {32, 5}, {24, 3}, {40, 2}, {8, 4095}};
  for (const auto& size : sizes) {
    for (const bool grey : {false, true}) {
      SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height) +
                   (grey ? " grey" : " mono"));
      const ConversionPreview preview = Preview(Pattern(size.width, size.height, grey));
      const HeaderReading reading = ReadQuillbitHeader(preview.headerText);
      ASSERT_TRUE(reading.contents) << reading.problem;
      EXPECT_EQ(reading.contents->sprite, preview.sprite);
      EXPECT_EQ(reading.contents->grey, grey);
      EXPECT_EQ(reading.contents->base, "s");
    }
  }
}

TEST(HeaderReader, NamesPassThroughAsTheWriterWroteThem) {
  const ConversionPreview preview = Preview(Pattern(16, 2, true), "my ship.v2.png");
  const HeaderReading reading = ReadQuillbitHeader(preview.headerText);
  ASSERT_TRUE(reading.contents) << reading.problem;
  EXPECT_EQ(reading.contents->base, "my ship.v2");
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(HeaderReader, AnythingTheWriterWouldNotWriteIsRefusedWithItsPlace) {
  const std::string ship = Preview(PictureOf({{K, K, K, K, K, K, K, K, W, W, W, W, W, W, W, W},
                                              {L, D, W, W, W, W, W, W, W, W, W, W, W, W, W, W}}),
                                   "ship.png")
                               .headerText;
  ASSERT_EQ(ship.substr(ship.find("ship1")),
            "ship1[] = {\r\n\t0xFF00,0x8000};\r\n\r\n"
            "// ship --- bitplane 2\r\nunsigned short int "
            "ship2[] = {\r\n\t0xFF00,0x4000};\r\n");
  const struct {
    std::string text;
    std::string problem;
  } cases[] = {
      {"", "its first line is not quillbit's \"//Image data created by"},
      {"#include <stdio.h>\n", "its first line is not quillbit's"},
      {Replaced(ship, "Quillbit 1.0", "Quillbit 1.1"), "its first line is not"},
      {ship.substr(0, 60), "it ends before line 5, \"// <name> --- bitplane 1\""},
      {Replaced(ship, "_WIDTH 16", "_WIDTH 016"),
       "line 2 is not \"#define <NAME>_WIDTH <number>\""},
      {Replaced(ship, "_HEIGHT 2", "_HEIGHT -2"), "line 3 is not \"#define <NAME>_HEIGHT"},
      {Replaced(ship, "_HEIGHT 2", "_HEIGHT 99999"), "line 3 gives a size beyond"},
      {Replaced(ship, "_WIDTH 16", "_WIDTH 12"), "its width 12 is no multiple of 8"},
      {Replaced(ship, "_HEIGHT 2", "_HEIGHT 3000"), "its 16 x 3000 pixels are more than"},
      {Replaced(ship, "// ship --- bitplane 1", "// ship --- plane 1"), "line 5 is not"},
      {Replaced(ship, "0xFF00,0x8000};", "0xFF00,0x8000,0x0000};"),
       "bitplane 1 holds 48 pixels where the sprite has 32"},
      {Replaced(ship, "0xFF00,0x4000};", "0xFF00};"), "bitplane 2 holds 16 pixels"},
      {Replaced(ship, "0x8000};", "0xG000};"), "line 7 holds \"0xG000\" where a value like 0x0F"},
      {Replaced(ship, "0x8000};", "0x8000 };"), "line 7 holds \"0x8000 \""},
      {Replaced(ship, "0xFF00,0x8000", "0xff00,0x8000"),
       "line 7 reads \"\\t0xff00,0x8000};\" where quillbit writes \"\\t0xFF00,0x8000};\""},
      {Replaced(ship, "0xFF00,0x8000", "0xFF,0x00,0x80,0x00"), "line 7 reads"},
      {Replaced(ship, "short int ship1", "char ship1"), "line 6 reads"},
      {Replaced(ship, "#define SHIP_WIDTH", "#define Ship_WIDTH"), "line 2 reads"},
      {Replaced(ship, "// ship --- bitplane 2", "// boat --- bitplane 2"),
       "line 9 names another sprite than line 5"},
      {Replaced(ship, "0xFF00,0x4000", "0xFF00,0x8000"),
       "it has two bitplanes without a grey pixel"},
      {Replaced(ship, "\r\n#define SHIP_HEIGHT", "\n#define SHIP_HEIGHT"),
       "line 2 does not end in CR LF"},
      {ship + "\r\n", "line 12 \"\" follows the end quillbit writes"},
      {ship.substr(0, ship.size() - 2), "line 11 does not end in CR LF"},
      {ship.substr(0, ship.find("\r\n\r\n// ship --- bitplane 2") + 2),
       "line 6 reads \"unsigned short int ship1[] = {\" where quillbit writes \"unsigned short "
       "int ship[] = {\""},  // cut after plane 1: one plane, but named as the first of two
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const HeaderReading reading = ReadQuillbitHeader(c.text);
    EXPECT_FALSE(reading.contents);
    EXPECT_NE(reading.problem.find(c.problem), std::string::npos) << reading.problem;
  }
  EXPECT_TRUE(ReadQuillbitHeader(ship).contents);
}

}  // namespace
}  // namespace quillbit::testing
