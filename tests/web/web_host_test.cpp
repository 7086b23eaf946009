// The web host on pictures held in memory, as the page hands them over: what the page is
// told and in which order, the companion by the desktop's rule, the stops of the batch.
#include "host/web/web_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "driver/entry.h"
#include "host/common/report_texts.h"
#include "host/run_end.h"

namespace quillbit {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A 24-bit bitmap of one row per entry of rows, colours 0xRRGGBB.
std::string Bitmap(const std::vector<std::vector<std::uint32_t>>& rows) {
  const auto width = static_cast<std::uint32_t>(rows.front().size());
  const auto height = static_cast<std::uint32_t>(rows.size());
  const std::uint32_t stride = (width * 3 + 3) & ~3u;
  std::string bytes = "BM";
  auto put = [&bytes](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
  };
  put(54 + stride * height, 4), put(0, 4), put(54, 4);
  put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(24, 2), put(0, 4);
  put(stride * height, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    for (const std::uint32_t colour : *row) put(colour, 3);
    put(0, static_cast<int>(stride - width * 3));
  }
  return bytes;
}

std::string Filled(int width, std::uint32_t colour) {
  return Bitmap({std::vector<std::uint32_t>(static_cast<std::size_t>(width), colour)});
}

class MemoryFile : public PictureFile {
 public:
  explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() override { return bytes_.size(); }
  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) override {
    return bytes_.copy(out, count, static_cast<std::size_t>(offset));
  }

 private:
  std::string bytes_;
};

// The page's side, recorded: every call in order as "what path-or-text".
class RecordingPage : public WebPage {
 public:
  std::map<std::string, std::string> pictures;    // what the page was handed
  std::map<std::string, std::string> unreadable;  // handed, but the browser cannot read it
  std::set<std::string> folder;                   // files of a chosen folder
  std::vector<std::string> calls;
  std::map<std::string, std::string> files;
  std::map<std::string, PictureCheck> reports;

  void Show(const std::string& text, MessageKind kind) override {
    const char* const kinds[] = {"information ", "user error ", "run-time error "};
    calls.push_back(kinds[static_cast<int>(kind)] + text);
  }
  std::unique_ptr<PictureFile> OpenPicture(const std::string& path) override {
    calls.push_back("open " + path);
    if (unreadable.count(path) != 0) throw PictureFault(unreadable[path]);
    return std::make_unique<MemoryFile>(pictures.at(path));
  }
  bool HasFile(const std::string& path) override {
    return pictures.count(path) != 0 || folder.count(path) != 0;
  }
  void ShowPicture(const CheckReport& report) override {
    calls.push_back("picture " + report.path);
    reports[report.path] = report.picture.value();
  }
  void ReceiveHeader(const std::string& path, const std::string& bytes) override {
    calls.push_back("header " + path);
    files[path] = bytes;
  }
  void ReceiveCompanion(const std::string& path, const std::string& bytes) override {
    calls.push_back("companion " + path);
    files[path] = bytes;
  }

  int Run(const std::vector<std::string>& names) {
    WebHost host(names, *this);
    return RunProgram(host);
  }
};

const std::string kInformation16 =
    "information Quillbit - a.bmp\r\nDimensions: 16 by 1\r\nSpriteType: 16";

TEST(WebHost, GoldenPicturesGiveTheirGoldenHeadersThenTheCompanion) {
  RecordingPage page;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(QUILLBIT_GOLDEN_DIR)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".out" || extension == ".py" || extension == ".md") continue;
    names.push_back(entry.path().filename().string());
    page.pictures[names.back()] = ReadFile(entry.path());
  }
  std::sort(names.begin(), names.end());
  ASSERT_GT(names.size(), 10u);

  EXPECT_EQ(page.Run(names), static_cast<int>(ExitStatus::Done));
  std::vector<std::string> expected;
  for (const std::string& name : names) {
    const std::string stem = name.substr(0, name.rfind('.'));
    EXPECT_EQ(page.files[stem + ".h"],
              ReadFile(std::string(QUILLBIT_GOLDEN_DIR) + "/" + stem + ".out"))
        << name;
    expected.insert(expected.end(), {"open " + name, "picture " + name});
  }
  EXPECT_EQ(page.files["Blitview.h"], ReadFile(QUILLBIT_COMPANION));
  EXPECT_EQ(page.calls.back(), "companion Blitview.h");
  std::vector<std::string> opened;
  for (const std::string& call : page.calls)
    if (call.rfind("open ", 0) == 0 || call.rfind("picture ", 0) == 0) opened.push_back(call);
  EXPECT_EQ(opened, expected);
}

// The drawing comes from the header quillbit wrote; where the width rule stops the batch,
// from quillbit-check's preview, before the message that stops it.
TEST(WebHost, EachPictureIsDrawnBeforeItsHeaderOrItsStop) {
  RecordingPage page;
  page.pictures = {{"a.bmp", Filled(16, 0x000000)}, {"b.bmp", Filled(12, 0xAAAAAA)}};
  EXPECT_EQ(page.Run({"a.bmp", "b.bmp"}), 2);
  const std::vector<std::string> expected = {
      "open a.bmp",    kInformation16,
      "picture a.bmp", "header a.h",
      "open b.bmp",    "information Quillbit - b.bmp\r\nDimensions: 12 by 1\r\nSpriteType: other",
      "picture b.bmp", page.calls.back()};
  EXPECT_EQ(page.calls, expected);
  EXPECT_EQ(page.reports["a.bmp"].sprite.cells, std::vector<Level>(16, Level::Black));
  EXPECT_EQ(page.reports["b.bmp"].sprite.cells, std::vector<Level>(12, Level::LightGrey));
}

TEST(WebHost, CompanionGoesBesideTheLastPictureUnlessOneIsThere) {
  struct Case {
    std::vector<std::string> names;
    std::set<std::string> folder;
    std::string companion;  // empty: none installed
  };
  const Case cases[] = {
      {{"a.bmp"}, {}, "Blitview.h"},
      {{"a.bmp"}, {"Blitview.h"}, ""},
      {{"art/a.bmp"}, {"Blitview.h"}, "art/Blitview.h"},
      {{"art/a.bmp", "more/b.bmp"}, {"art/Blitview.h"}, "more/Blitview.h"},
      {{"Blitview.bmp"}, {}, ""},  // its header took the name: it counts as the companion
  };
  for (const Case& c : cases) {
    RecordingPage page;
    page.folder = c.folder;
    for (const std::string& name : c.names) page.pictures[name] = Filled(8, 0x555555);
    EXPECT_EQ(page.Run(c.names), 0) << c.names.back();
    const bool installed = page.calls.back().rfind("companion ", 0) == 0;
    EXPECT_EQ(installed ? page.calls.back() : "",
              c.companion.empty() ? "" : "companion " + c.companion)
        << c.names.back();
  }
}

TEST(WebHost, StopsAtThePictureWhereQuillbitStopsWithItsText) {
  struct Case {
    std::string second;  // the picture between two good ones
    std::string bytes;   // its bytes; empty: the browser cannot read it
    int status;
    std::string lastCall;
  };
  const std::string png = "\x89PNG\r\n\x1a\n";
  const auto Refused = [](const std::string& path, const std::string& why) {
    return "run-time error " + report_text::CannotReadPicture(path, why);
  };
  const Case cases[] = {
      {"b.bmp", Filled(12, 0x000000), 2,
       "user error Image Width must be evenly divisible by 8 for program to work properly.\r\n"
       "Please resize your image."},
      {"b.bmp", "", 1, Refused("b.bmp", "NotReadableError: gone")},
      {"b.png", png, 1, Refused("b.png", "broken PNG file (file cut short)")},
      {"b.txt", "plain text", 1, Refused("b.txt", report_text::kNoPictureFormat)},
  };
  for (const Case& c : cases) {
    RecordingPage page;
    page.pictures = {{"a.bmp", Filled(16, 0)}, {c.second, c.bytes}, {"c.bmp", Filled(16, 0)}};
    if (c.bytes.empty()) page.unreadable[c.second] = "NotReadableError: gone";
    EXPECT_EQ(page.Run({"a.bmp", c.second, "c.bmp"}), c.status) << c.second;
    EXPECT_EQ(page.calls.back(), c.lastCall);
    EXPECT_EQ(page.files.size(), 1u) << "only a.h, and no companion";
    EXPECT_EQ(std::count(page.calls.begin(), page.calls.end(), "open c.bmp"), 0);
  }
}

TEST(WebHost, ANameWithAQuoteStopsBeforeAnyPicture) {
  RecordingPage page;
  EXPECT_EQ(page.Run({"a\"b.bmp"}), 2);
  EXPECT_EQ(
      page.calls,
      (std::vector<std::string>{"user error Filenames must be inclosed in double quotes (\")"}));
}

TEST(WebHost, ReportsTheLevelsAndFindingsOfQuillbitCheck) {
  RecordingPage page;
  page.pictures["p.bmp"] =
      Bitmap({{0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF, 0x020202, 0x123456, 0x000000, 0x000000}});
  EXPECT_EQ(page.Run({"p.bmp"}), 0);
  const PictureCheck& report = page.reports["p.bmp"];
  const std::vector<Level> levels = {Level::Black,      Level::DarkGrey,   Level::LightGrey,
                                     Level::Background, Level::Background, Level::Background,
                                     Level::Black,      Level::Black};
  EXPECT_EQ(report.sprite.cells, levels);
  EXPECT_EQ(report.findings,
            (std::vector<std::string>{"p.bmp: 1 pixel of #020202 at (4, 0) counts as background; "
                                      "black is #000000"}));
}

}  // namespace
}  // namespace quillbit
