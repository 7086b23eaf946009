#include "host/windows/win_paths.h"

#include <gtest/gtest.h>

namespace quillbit::testing {
namespace {

struct PathCase {
  const char* path;
  const char* parent;
  const char* file;
  const char* base;
};

TEST(WindowsPaths, BothSeparatorsSplitAndRootsStayWhole) {
  const PathCase cases[] = {
      {R"(C:\art\ship.png)", R"(C:\art)", "ship.png", "ship"},
      {"C:/art/ship.png", "C:/art", "ship.png", "ship"},
      {R"(C:\art/sub\ship.tar.png)", R"(C:\art/sub)", "ship.tar.png", "ship.tar"},
      {R"(art\ship.png)", "art", "ship.png", "ship"},
      {"ship.png", "", "ship.png", "ship"},
      {R"(C:\ship.png)", R"(C:\)", "ship.png", "ship"},
      {"C:ship.png", "C:", "ship.png", "ship"},
      {R"(\ship.png)", R"(\)", "ship.png", "ship"},
      {"/tmp/x/ship.png", "/tmp/x", "ship.png", "ship"},
      {R"(C:\)", "", "", ""},
      {"C:", "", "", ""},
      {R"(a\\b\\ship)", R"(a\\b)", "ship", "ship"},
      {R"(art\sub\)", "art", "sub", "sub"},
      {R"(\\server\share\ship.png)", R"(\\server\share\)", "ship.png", "ship"},
      {R"(\\server\share\art\ship.png)", R"(\\server\share\art)", "ship.png", "ship"},
      {R"(\\server\share)", "", "", ""},
      {R"(\\?\C:\art\ship.png)", R"(\\?\C:\art)", "ship.png", "ship"},
      {R"(\\?\C:\ship.png)", R"(\\?\C:\)", "ship.png", "ship"},
      {R"(\\?\UNC\server\share\ship.png)", R"(\\?\UNC\server\share\)", "ship.png", "ship"},
      {".hidden", "", ".hidden", ""},
      {"", "", "", ""},
      {"\xC3\xA9t\xC3\xA9\\\xC3\xA9.png", "\xC3\xA9t\xC3\xA9", "\xC3\xA9.png", "\xC3\xA9"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(WindowsParentFolderName(c.path), c.parent);
    EXPECT_EQ(WindowsFileName(c.path), c.file);
    EXPECT_EQ(WindowsBaseName(c.path), c.base);
  }
}

TEST(WindowsPaths, BuildPathJoinsWithABackslashOnlyWhereOneIsMissing) {
  const struct {
    const char* folder;
    const char* expected;
  } cases[] = {
      {"", "Blitview.h"},
      {R"(C:\art)", R"(C:\art\Blitview.h)"},
      {R"(C:\)", R"(C:\Blitview.h)"},
      {"C:/art/", "C:/art/Blitview.h"},
      {"C:", "C:Blitview.h"},
      {"/tmp/x", R"(/tmp/x\Blitview.h)"},
      {R"(\\server\share\)", R"(\\server\share\Blitview.h)"},
  };
  for (const auto& c : cases) EXPECT_EQ(WindowsBuildPath(c.folder, "Blitview.h"), c.expected);
}

TEST(WindowsPaths, ParentAndBuildPathGiveTheCompanionBesideThePicture) {
  for (const char* picture : {R"(D:\sprites\ship.png)", "ship.png", R"(\\nas\art\ship.png)"}) {
    const std::string companion = WindowsBuildPath(WindowsParentFolderName(picture), "Blitview.h");
    EXPECT_EQ(WindowsParentFolderName(companion), WindowsParentFolderName(picture)) << picture;
    EXPECT_EQ(WindowsFileName(companion), "Blitview.h") << picture;
  }
}

}  // namespace
}  // namespace quillbit::testing
