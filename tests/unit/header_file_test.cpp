#include "header/header_file.h"

#include <gtest/gtest.h>

#include "analysis/nibble_packing.h"
#include "analysis/picture_intake.h"
#include "scripted_host.h"

namespace quillbit::testing {
namespace {

constexpr std::uint32_t K = 0x000000;  // black
constexpr std::uint32_t L = 0xAAAAAA;  // light grey
constexpr std::uint32_t D = 0x555555;  // dark grey
constexpr std::uint32_t W = 0xFFFFFF;  // white

const std::string kBanner = "//Image data created by Quillbit 1.0 Beta (Marrowick)\r\n";

// The header the whole batch writes for one picture at path.
std::string Convert(const std::string& path, const Picture& picture) {
  ScriptedHost host;
  host.command = "\"" + path + "\"";
  host.pictures[path] = picture;
  host.files["/opt/quillbit/Blitview.h"] = "companion";
  EXPECT_EQ(host.Run(), ExitStatus::Done);
  return host.files[HeaderPathFor(path)];
}

Picture Ship(bool withGrey) {
  std::vector<std::uint32_t> row1(16, W), row2(16, W);
  std::fill(row1.begin(), row1.begin() + 8, K);
  if (withGrey) row2[0] = L, row2[1] = D;
  return PictureOf({row1, row2});
}

TEST(HeaderFile, ShipWithGreyHasTwoPlanes) {
  EXPECT_EQ(
      Convert("C:/art/ship.bmp", Ship(true)),
      kBanner +
          "#define SHIP_WIDTH 16\r\n#define SHIP_HEIGHT 2\r\n\r\n"
          "// ship --- bitplane 1\r\nunsigned short int ship1[] = {\r\n\t0xFF00,0x8000};\r\n"
          "\r\n"
          "// ship --- bitplane 2\r\nunsigned short int ship2[] = {\r\n\t0xFF00,0x4000};\r\n");
}

TEST(HeaderFile, ShipWithoutGreyHasOnePlaneAndNothingAfterIt) {
  EXPECT_EQ(Convert("C:/art/ship.bmp", Ship(false)),
            kBanner +
                "#define SHIP_WIDTH 16\r\n#define SHIP_HEIGHT 2\r\n\r\n"
                "// ship --- bitplane 1\r\nunsigned short int ship[] = {\r\n\t0xFF00,0x0000};\r\n");
}

// The lines after the declaration of plane 1 for a picture of one colour.
std::string DataLinesOf(int width, int height, std::uint32_t colour) {
  std::string text = Convert("/p/s.png", Filled(width, height, colour));
  std::size_t start = text.find("[] = {\r\n");
  return start == std::string::npos ? text : text.substr(start + 8);
}

TEST(HeaderFile, LaysOutRowsBySpriteType) {
  struct {
    int width, height;
    std::uint32_t colour;
    std::string lines;
  } cases[] = {
      {8, 8, K, "\t0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF,0xFF};\r\n"},
      {8, 9, W, "\t0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,\r\n\t0x00};\r\n"},
      {32, 8, K,
       "\t0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF,\r\n"
       "\t0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF};\r\n"},
      {24, 2, K, "\t0xFF,0xFF,0xFF,\r\n\t0xFF,0xFF,0xFF};\r\n"},
      {16, 9, W, "\t0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,0x0000,\r\n\t0x0000};\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    EXPECT_EQ(DataLinesOf(c.width, c.height, c.colour), c.lines);
  }
}

TEST(HeaderFile, ElementTypeFollowsSpriteType) {
  const std::pair<int, const char*> cases[] = {{8, "unsigned char s[]"},
                                               {16, "unsigned short int s[]"},
                                               {32, "unsigned long int s[]"},
                                               {40, "unsigned char s[]"}};
  for (const auto& [width, declaration] : cases) {
    EXPECT_NE(Convert("/p/s.png", Filled(width, 1, W)).find(declaration), std::string::npos)
        << width;
  }
}

TEST(HeaderFile, NamesPassThroughUnchanged) {
  const std::string text = Convert("/art/my ship.bmp", Filled(8, 1, K));
  EXPECT_NE(text.find("#define MY SHIP_WIDTH 8\r\n"), std::string::npos);
  EXPECT_NE(text.find("// my ship --- bitplane 1\r\nunsigned char my ship[] = {"),
            std::string::npos);
  // Only ASCII letters are upper-cased; other bytes stay as they are.
  const std::string utf8 = Convert("/art/\xC3\xA9t\xC3\xA9.png", Filled(8, 1, K));
  EXPECT_NE(utf8.find("#define \xC3\xA9T\xC3\xA9_WIDTH 8"), std::string::npos);
}

TEST(HeaderFile, PathLosesItsLastThreeCharacters) {
  const std::pair<const char*, const char*> cases[] = {{"C:/art/ball.bmp", "C:/art/ball.h"},
                                                       {"ball.jpeg", "ball.jh"},
                                                       {"ball.ico", "ball.h"},
                                                       {"abc", "h"},
                                                       {"s.\xC3\xA9\xC3\xA9\xC3\xA9", "s.h"},
                                                       {"x/y.p\xE2\x82\xACg", "x/y.h"}};
  for (const auto& [picture, header] : cases) EXPECT_EQ(HeaderPathFor(picture), header);
  EXPECT_THROW(HeaderPathFor("ab"), RunTimeError);
}

TEST(HeaderFile, GreyIsDecidedPerPicture) {
  ScriptedHost host;
  host.command = R"("/a/grey.png" "/a/mono.png")";
  host.pictures["/a/grey.png"] = PictureOf({{L, K, K, K, K, K, K, K}});
  host.pictures["/a/mono.png"] = Filled(8, 1, K);
  host.files["/opt/quillbit/Blitview.h"] = "";
  ASSERT_EQ(host.Run(), ExitStatus::Done);
  EXPECT_NE(host.files["/a/grey.h"].find("grey2[]"), std::string::npos);
  EXPECT_EQ(host.files["/a/mono.h"].find("bitplane 2"), std::string::npos);
  EXPECT_NE(host.files["/a/mono.h"].find("unsigned char mono[] = {\r\n\t0xFF};\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace quillbit::testing
