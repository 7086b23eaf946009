#include "check/check_run.h"

#include <gtest/gtest.h>

#include "fake_check_platform.h"
#include "host/common/terminal_options.h"

namespace quillbit::testing {
namespace {

TEST(CheckRun, TheHeaderBesideIsComparedWithWhatQuillbitWritesNow) {
  const std::string current = HeaderOf(Ship(), "ship.png");
  std::string stale = current;
  stale.replace(stale.find("0x4000"), 6, "0x0000");
  const struct {
    const char* name;
    std::optional<std::string> header;  // nullopt: none there
    int status;
    std::string line;
  } cases[] = {
      {"missing", std::nullopt, 0, "ship.h: not written yet\n"},
      {"current", current, 0, "ship.h: up to date\n"},
      {"stale", stale, 1,
       "ship.h: out of date: line 11 reads \"\\t0xFF00,0x0000};\" where quillbit writes "
       "\"\\t0xFF00,0x4000};\"\n"},
      {"empty", std::string(), 1, "ship.h: out of date: the file is empty\n"},
      {"longer", current + "// mine\r\n", 1,
       "ship.h: out of date: line 12 \"// mine\" follows the end quillbit writes\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeCheckPlatform platform;
    platform.pictures["ship.png"] = Ship();
    if (c.header) platform.files["ship.h"] = *c.header;
    EXPECT_EQ(RunCheck(platform, {"ship.png"}), c.status);
    const std::string& output = platform.output;  // the picture's report, then the line
    EXPECT_EQ(output.substr(output.size() - std::min(output.size(), c.line.size())), c.line);
    EXPECT_GT(output.size(), c.line.size()) << output;
  }
}

TEST(CheckRun, ExitStatusSaysCleanFindingsOrUsage) {
  using report_text::kNoSuchFile;
  const auto Report = [](const std::string& text) { return "quillbit-check: " + text + "\n"; };
  const std::uint32_t nearDark = 0xFF565555;
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string error;  // the start of standard error
  } cases[] = {
      {{"ship.png"}, 0, ""},
      {{"ship.png", "near.png"}, 1, ""},
      {{"ship.png", "gone.png"},
       1,
       Report(report_text::CannotReadPicture("gone.png", kNoSuchFile))},
      {{"gone.h"}, 1, Report(report_text::CannotReadHeader("gone.h", report_text::kNoSuchHeader))},
      {{"locked.h"}, 1, Report(report_text::CannotRead("locked.h", FakeCheckPlatform::kDenied))},
      {{"huge.png"},
       1,
       "quillbit-check: overflow: picture \"huge.png\" is 200 x 200 pixels; at most 32767 "
       "pixels fit\n"},
      {{}, 2, "quillbit-check: no files named\nUsage: quillbit-check [--json] [--] FILE..."},
      {{"-x", "ship.png"}, 2, "quillbit-check: unknown option -x (a file of that name is ./-x)"},
      {{"--", "-x.png"}, 0, ""},
      {{"-"}, 1, Report(report_text::CannotReadPicture("-", kNoSuchFile))},
      {{"--help", "ship.png"}, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    FakeCheckPlatform platform;
    platform.pictures["ship.png"] = Ship();
    platform.pictures["-x.png"] = Ship();
    platform.pictures["near.png"] = PictureOf({{nearDark, W, W, W, W, W, W, W}});
    platform.pictures["huge.png"] = {200, 200, std::vector<std::uint32_t>(40000, W)};
    platform.files["locked.h"] = "";
    platform.unreadable.insert("locked.h");
    EXPECT_EQ(RunCheck(platform, c.arguments), c.status) << platform.output << platform.error;
    EXPECT_EQ(platform.error.substr(0, c.error.size()), c.error);
    EXPECT_EQ(platform.error.empty(), c.error.empty()) << platform.error;
  }
}

TEST(CheckRun, HelpAndVersionAnswerAndAFailedOutputIsStatusOne) {
  FakeCheckPlatform platform;
  EXPECT_EQ(RunCheck(platform, {"--help"}), 0);
  EXPECT_EQ(platform.output, CheckUsage());
  EXPECT_NE(platform.output.find("within 24 of the level's"), std::string::npos);
  platform.output.clear();
  EXPECT_EQ(RunCheck(platform, {"--version"}), 0);
  EXPECT_EQ(platform.output, std::string("quillbit-check 1.0.0\n") + kCopyrightLine);

  FakeCheckPlatform full;
  full.pictures["ship.png"] = Ship();
  full.outputFails = true;
  EXPECT_EQ(RunCheck(full, {"ship.png"}), 1);
  EXPECT_EQ(full.error,
            "quillbit-check: cannot write to standard output: No space left on device\n");
}

}  // namespace
}  // namespace quillbit::testing
