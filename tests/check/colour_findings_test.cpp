#include "check/colour_findings.h"

#include <gtest/gtest.h>

#include "check/file_check.h"
#include "fake_check_platform.h"

namespace quillbit::testing {
namespace {

// The report on p.png, an 8 x 1 picture whose first pixel is given and the rest white.
CheckReport CheckFirstPixel(std::uint32_t argb) {
  FakeCheckPlatform platform;
  platform.pictures["p.png"] = PictureOf({{argb, W, W, W, W, W, W, W}});
  return CheckFile(platform, "p.png");
}

std::string CloseTo(const char* colour, const char* level, const char* levelColour) {
  return std::string("p.png: 1 pixel of ") + colour + " at (0, 0) counts as background; " + level +
         " is " + levelColour;
}

std::string Translucent(const char* colour, int alpha) {
  return std::string("p.png: 1 pixel of ") + colour + " with alpha " + std::to_string(alpha) +
         " at (0, 0) counts as background; only opaque pixels count";
}

TEST(ColourFindings, CloseMeansEveryChannelWithin24AndOnlyOpaqueLevelsCount) {
  const struct {
    std::uint32_t argb;
    Level drawn;          // the first cell of the sprite
    std::string finding;  // empty: none
  } cases[] = {
      {0xFF000000, Level::Black, ""},
      {0xFF010101, Level::Background, CloseTo("#010101", "black", "#000000")},
      {0xFF181818, Level::Background, CloseTo("#181818", "black", "#000000")},
      {0xFF001800, Level::Background, CloseTo("#001800", "black", "#000000")},
      {0xFF190000, Level::Background, ""},
      {0xFF181819, Level::Background, ""},
      {0xFF555555, Level::DarkGrey, ""},
      {0xFF565555, Level::Background, CloseTo("#565555", "dark grey", "#555555")},
      {0xFF6D6D6D, Level::Background, CloseTo("#6D6D6D", "dark grey", "#555555")},
      {0xFF3D3D3D, Level::Background, CloseTo("#3D3D3D", "dark grey", "#555555")},
      {0xFF6E5555, Level::Background, ""},
      {0xFF553C55, Level::Background, ""},
      {0xFFAAAAAA, Level::LightGrey, ""},
      {0xFFABABAB, Level::Background, CloseTo("#ABABAB", "light grey", "#AAAAAA")},
      {0xFFC2C2C2, Level::Background, CloseTo("#C2C2C2", "light grey", "#AAAAAA")},
      {0xFF9292AA, Level::Background, CloseTo("#9292AA", "light grey", "#AAAAAA")},
      {0xFFAAAAC3, Level::Background, ""},
      {0xFF91AAAA, Level::Background, ""},
      {0xFF808080, Level::Background, ""},  // between the greys, close to neither
      {0xFFFFFFFF, Level::Background, ""},
      {0xFE000000, Level::Background, Translucent("#000000", 254)},
      {0xFE555555, Level::Background, Translucent("#555555", 254)},
      {0x01AAAAAA, Level::Background, Translucent("#AAAAAA", 1)},
      {0x00000000, Level::Background, ""},  // fully transparent: background as meant
      {0x80565656, Level::Background, ""},  // close but translucent: nothing could be meant by it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.argb);
    const CheckReport report = CheckFirstPixel(c.argb);
    ASSERT_TRUE(report.picture);
    EXPECT_EQ(report.picture->sprite.cells[0], c.drawn);
    EXPECT_EQ(report.Clean(), c.finding.empty());
    const std::vector<std::string> expected =
        c.finding.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.finding};
    EXPECT_EQ(report.picture->findings, expected);
  }
}

TEST(ColourFindings, GroupsByColourInTheOrderThePixelsComeAndCountsTheRest) {
  const std::uint32_t N = 0xFF565656;
  const std::uint32_t A = 0xFFABABAB;
  const DecodedPicture picture =
      PictureOf({{W, W, W, N, A, N, N, N}, {N, 0xFE000000, K, W, W, 0x7F000000, N, N}});
  EXPECT_EQ(ColourFindings(picture, "ship.png"),
            (std::vector<std::string>{
                "ship.png: 7 pixels of #565656 at (3, 0) and more count as background; "
                "dark grey is #555555",
                "ship.png: 1 pixel of #ABABAB at (4, 0) counts as background; "
                "light grey is #AAAAAA",
                "ship.png: 2 pixels of #000000 with alpha below 255 at (1, 1) and more count as "
                "background; only opaque pixels count"}));

  DecodedPicture noisy{16, 1, {}};
  for (std::uint32_t i = 1; i <= 16; ++i) noisy.argb.push_back(0xFF000000 | i);
  const std::vector<std::string> findings = ColourFindings(noisy, "noisy.jpg");
  ASSERT_EQ(findings.size(), kCloseColoursNamed + 1);
  EXPECT_EQ(findings.back(), "noisy.jpg: and 8 more colours close to a level count as background");
}

}  // namespace
}  // namespace quillbit::testing
