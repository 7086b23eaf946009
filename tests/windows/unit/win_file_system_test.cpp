#include "host/windows/win_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/common/report_texts.h"
#include "host/run_end.h"
#include "temp_folder.h"

namespace quillbit::testing {
namespace {

using Names = std::vector<std::string>;

// Runs action and returns the text of the run-time error it throws; fails the test if none.
template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const RunTimeError& error) {
    return error.what();
  }
  ADD_FAILURE() << "no run-time error";
  return "";
}

TEST(WinFileSystem, FileExistsOnlyForFiles) {
  TempFolder folder;
  folder.Write("a.png", "x");
  std::filesystem::create_directory(folder.root() / "sub.png");
  WinFileSystem fso;
  EXPECT_TRUE(fso.FileExists(folder.Path("a.png")));
  EXPECT_FALSE(fso.FileExists(folder.Path("sub.png")));
  EXPECT_FALSE(fso.FileExists(folder.Path("missing.png")));
  EXPECT_TRUE(fso.FileExists(folder.Root() + "/a.png"));  // forward slashes work too
}

TEST(WinFileSystem, CopyMakesTheCompanionWhenAbsentAndLeavesNothingElse) {
  TempFolder folder;
  folder.Write("source.h", "companion text\r\n");
  std::filesystem::create_directory(folder.root() / "art");
  WinFileSystem fso;
  fso.CopyFile(folder.Path("source.h"), folder.Path("art\\Blitview.h"), false);
  EXPECT_EQ(folder.Read("art/Blitview.h"), "companion text\r\n");
  EXPECT_EQ(folder.Names(), (Names{"art", "source.h"}));
  EXPECT_EQ(Names{"Blitview.h"}, [&] {
    Names names;
    for (const auto& e : std::filesystem::directory_iterator(folder.root() / "art"))
      names.push_back(e.path().filename().u8string());
    return names;
  }());
}

TEST(WinFileSystem, CopyNeverReplacesWhatIsThereAndTakesAFileForTheCopy) {
  TempFolder folder;
  folder.Write("source.h", "new");
  folder.Write("Blitview.h", "mine");  // as another run would have put it a moment ago
  std::filesystem::create_directory(folder.root() / "taken");
  std::filesystem::create_directory(folder.root() / "taken" / "Blitview.h");
  WinFileSystem fso;
  fso.CopyFile(folder.Path("source.h"), folder.Path("Blitview.h"), false);
  EXPECT_EQ(folder.Read("Blitview.h"), "mine");
  const std::string error = ErrorOf(
      [&] { fso.CopyFile(folder.Path("source.h"), folder.Path("taken\\Blitview.h"), false); });
  const std::string what =
      report_text::CannotCopy(folder.Path("source.h"), folder.Path("taken\\Blitview.h"));
  EXPECT_EQ(error.rfind(what + ": ", 0), 0u) << error;
  EXPECT_TRUE(std::filesystem::is_directory(folder.root() / "taken" / "Blitview.h"));
  EXPECT_EQ(folder.Names(), (Names{"Blitview.h", "source.h", "taken"}));  // no temporary left

  fso.CopyFile(folder.Path("source.h"), folder.Path("Blitview.h"), true);
  EXPECT_EQ(folder.Read("Blitview.h"), "new");
}

// A device, a missing file and a folder as the source: each named with the destination.
TEST(WinFileSystem, AFailedCopySaysWhyAndLeavesNothing) {
  TempFolder folder;
  std::filesystem::create_directory(folder.root() / "dir");
  WinFileSystem fso;
  const struct {
    std::string source;
    std::string why;  // empty: the system's text
  } cases[] = {{"NUL", report_text::kSourceNotRegular},
               {folder.Path("missing.h"), ""},
               {folder.Path("dir"), report_text::kSourceIsFolder}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const std::string error =
        ErrorOf([&] { fso.CopyFile(c.source, folder.Path("Blitview.h"), false); });
    const std::string what = report_text::CannotCopy(c.source, folder.Path("Blitview.h"));
    EXPECT_EQ(error.rfind(report_text::Because(what, c.why), 0), 0u) << error;
    EXPECT_EQ(folder.Names(), Names{"dir"});
  }
}

TEST(WinFileSystem, CopyKeepsNonAsciiNames) {
  TempFolder folder;
  const std::string name = "\xC3\xA9t\xC3\xA9 \xE2\x98\x85.h";  // "été ★.h"
  folder.Write(name, "text");
  WinFileSystem fso;
  fso.CopyFile(folder.Path(name), folder.Path("copy " + name), false);
  EXPECT_EQ(folder.Read("copy " + name), "text");
}

TEST(WriteFileAtomically, CreatesAndReplacesWithoutLeftovers) {
  TempFolder folder;
  WriteFileAtomically(folder.Path("a.h"), "first\r\n");
  EXPECT_EQ(folder.Read("a.h"), "first\r\n");
  folder.Write("b.h", std::string(5000, 'x'));
  WriteFileAtomically(folder.Path("b.h"), "short");
  EXPECT_EQ(folder.Read("b.h"), "short");
  EXPECT_EQ(folder.Names(), (Names{"a.h", "b.h"}));
}

TEST(WriteFileAtomically, FailureNamesThePathAndLeavesTheOldFile) {
  TempFolder folder;
  std::filesystem::create_directory(folder.root() / "dir.h");
  folder.Write("locked.h", "old");
  std::filesystem::permissions(folder.root() / "locked.h", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);  // read-only
  for (const char* name : {"dir.h", "locked.h", "no such folder\\a.h"}) {
    SCOPED_TRACE(name);
    const std::string error = ErrorOf([&] { WriteFileAtomically(folder.Path(name), "new"); });
    EXPECT_EQ(error.rfind(report_text::CannotWrite(folder.Path(name)) + ": ", 0), 0u) << error;
  }
  EXPECT_EQ(folder.Read("locked.h"), "old");
  EXPECT_EQ(folder.Names(), (Names{"dir.h", "locked.h"}));
}

TEST(ExecutableFolder, IsTheFolderOfThisTestProgram) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(std::filesystem::exists(TempFolder::Native(folder) / "windows_unit_tests.exe"))
      << folder;
}

}  // namespace
}  // namespace quillbit::testing
