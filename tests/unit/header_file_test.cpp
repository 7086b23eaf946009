#include "header/header_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "scripted_host.h"

namespace quillbit::testing {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

unsigned Field(const std::string& bytes, std::size_t at, int size) {
  unsigned value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
  return value;
}

// A 24-bit bottom-up bitmap, as tests/golden/regenerate.py writes them.
Picture ReadBitmap(const std::string& bytes) {
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(Field(bytes, 28, 2), 24u) << "golden bitmaps are 24-bit";
  Picture picture;
  picture.width = static_cast<int>(Field(bytes, 18, 4));
  picture.height = static_cast<int>(Field(bytes, 22, 4));
  const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
  for (int y = picture.height - 1; y >= 0; --y) {
    const std::size_t row = Field(bytes, 10, 4) + static_cast<std::size_t>(y) * stride;
    for (std::size_t x = 0; x < static_cast<std::size_t>(picture.width); ++x)
      picture.rgb.push_back(Field(bytes, row + 3 * x, 3));
  }
  return picture;
}

// The bitmaps in tests/golden, in name order.
std::vector<std::filesystem::path> GoldenBitmaps() {
  std::vector<std::filesystem::path> bitmaps;
  for (const auto& entry : std::filesystem::directory_iterator(QUILLBIT_GOLDEN_DIR))
    if (entry.path().extension() == ".bmp") bitmaps.push_back(entry.path());
  std::sort(bitmaps.begin(), bitmaps.end());
  return bitmaps;
}

// Every bitmap in tests/golden gives exactly its .out file: one case per element type
// with one and with two planes. They go in one batch, so a monochrome picture after a
// grey one must get a single plane again.
TEST(HeaderFile, EachGoldenBitmapGivesItsGoldenHeader) {
  const std::vector<std::filesystem::path> bitmaps = GoldenBitmaps();
  ASSERT_FALSE(bitmaps.empty()) << QUILLBIT_GOLDEN_DIR;
  ScriptedHost host;
  host.files["/opt/quillbit/Blitview.h"] = "companion";
  for (const auto& bitmap : bitmaps) {
    const std::string picture = "/golden/" + bitmap.filename().string();
    host.pictures[picture] = ReadBitmap(ReadFile(bitmap));
    *host.command += (host.command->empty() ? "\"" : " \"") + picture + "\"";
  }
  ASSERT_EQ(host.Run(), ExitStatus::Done);
  for (const auto& bitmap : bitmaps) {
    const std::string golden = (bitmap.parent_path() / (bitmap.stem().string() + ".out")).string();
    EXPECT_EQ(host.files["/golden/" + bitmap.stem().string() + ".h"], ReadFile(golden)) << golden;
  }
}

TEST(HeaderFile, OnlyAsciiLettersOfTheNameAreUpperCased) {
  ScriptedHost host;
  host.command = "\"/art/\xC3\xA9t\xC3\xA9.png\"";
  host.pictures["/art/\xC3\xA9t\xC3\xA9.png"] = Filled(8, 1, 0);
  host.files["/opt/quillbit/Blitview.h"] = "";
  ASSERT_EQ(host.Run(), ExitStatus::Done);
  EXPECT_NE(host.files["/art/\xC3\xA9t\xC3\xA9.h"].find("#define \xC3\xA9T\xC3\xA9_WIDTH 8\r\n"),
            std::string::npos);
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

}  // namespace
}  // namespace quillbit::testing
