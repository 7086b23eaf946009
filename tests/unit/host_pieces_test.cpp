#include <gtest/gtest.h>

#include "host/common/argument_text.h"
#include "host/common/icon_selection.h"
#include "host/common/picture_file.h"
#include "host/common/presentation.h"
#include "host/common/slash_paths.h"
#include "host/run_end.h"

namespace quillbit::testing {
namespace {

TEST(ArgumentText, QuotesEachArgumentAndJoinsWithOneBlank) {
  EXPECT_EQ(QuoteArguments({}), "");
  EXPECT_EQ(QuoteArguments({"a.png"}), R"("a.png")");
  EXPECT_EQ(QuoteArguments({"my ship.png", "", "b.bmp"}), R"("my ship.png" "" "b.bmp")");
  EXPECT_EQ(QuoteArguments({"a.png", R"(say "hi".png)"}), std::nullopt);
}

TEST(SlashPaths, NamesFollowTheLastSeparator) {
  struct {
    const char* path;
    const char* parent;
    const char* file;
    const char* base;
  } cases[] = {
      {"art/ship.png", "art", "ship.png", "ship"},
      {"/art/ship.tar.png", "/art", "ship.tar.png", "ship.tar"},
      {"ship.png", "", "ship.png", "ship"},
      {"/ship.png", "/", "ship.png", "ship"},
      {"a//b//ship", "a//b", "ship", "ship"},
      {"art/sub/", "art", "sub", "sub"},
      {".hidden", "", ".hidden", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(slash_paths::ParentFolderName(c.path), c.parent);
    EXPECT_EQ(slash_paths::FileName(c.path), c.file);
    EXPECT_EQ(slash_paths::BaseName(c.path), c.base);
  }
  EXPECT_EQ(slash_paths::BuildPath("", "Blitview.h"), "Blitview.h");
  EXPECT_EQ(slash_paths::BuildPath("/", "Blitview.h"), "/Blitview.h");
  EXPECT_EQ(slash_paths::BuildPath("art", "Blitview.h"), "art/Blitview.h");
}

TEST(Presentation, CarriageReturnLineFeedBecomesOneLineBreak) {
  EXPECT_EQ(WithLineFeeds("a\r\nb\r\nc"), "a\nb\nc");
  EXPECT_EQ(WithLineFeeds("lone\r and \n"), "lone\r and \n");
}

// An icon directory with entries (width, height, bits, data) laid out after it.
std::string Icon(const std::vector<std::tuple<int, int, int, std::string>>& images) {
  std::string directory{'\0', '\0', '\1', '\0', static_cast<char>(images.size()), '\0'};
  std::string data;
  std::size_t offset = 6 + 16 * images.size();
  auto little = [](std::string& out, std::size_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  };
  for (const auto& [width, height, bits, bytes] : images) {
    directory += static_cast<char>(width);
    directory += static_cast<char>(height);
    directory += std::string(2, '\0');
    little(directory, 1, 2);
    little(directory, static_cast<std::size_t>(bits), 2);
    little(directory, bytes.size(), 4);
    little(directory, offset + data.size(), 4);
    data += bytes;
  }
  return directory + data;
}

TEST(IconSelection, TakesTheLargestImageThenTheDeepest) {
  const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + "big";
  const std::string icon = Icon({{16, 16, 32, "small"}, {0, 0, 32, png}, {32, 32, 8, "mid"}});
  ASSERT_TRUE(LooksLikeIcon(icon));
  IconImage chosen = SelectIconImage(icon);
  EXPECT_TRUE(chosen.isPng);
  EXPECT_EQ(chosen.file, png);

  chosen = SelectIconImage(Icon({{32, 32, 4, "four"}, {32, 32, 24, "deep"}, {16, 16, 32, "x"}}));
  EXPECT_FALSE(chosen.isPng);
  EXPECT_EQ(chosen.file, "deep");
}

TEST(IconSelection, BrokenDirectoriesAreReportedByTheirFault) {
  const std::string truncated = Icon({{16, 16, 32, "data"}}).substr(0, 12);
  std::string outside = Icon({{16, 16, 32, "data"}});
  outside[18] = '\x7F';  // offset far past the end
  for (const std::string& bytes : {truncated, outside, std::string("\0\0\1\0\0\0", 6)}) {
    try {
      SelectIconImage(bytes);
      ADD_FAILURE() << "accepted a broken icon";
    } catch (const PictureFault& fault) {
      EXPECT_EQ(std::string(fault.what()).rfind("broken icon file (", 0), 0u) << fault.what();
    }
  }
  EXPECT_FALSE(LooksLikeIcon("\x89PNG"));
}

}  // namespace
}  // namespace quillbit::testing
