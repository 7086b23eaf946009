// quillbit-check's reports, in words and as JSON, against golden files in reports/: a changed
// wording or a new field is the code and regenerated goldens (QUILLBIT_UPDATE_GOLDENS=1).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "check/check_run.h"
#include "fake_check_platform.h"

namespace quillbit::testing {
namespace {

// One folder of every kind of file quillbit-check tells apart.
FakeCheckPlatform Folder() {
  FakeCheckPlatform platform;
  platform.pictures["art/ship.png"] = Ship();
  platform.pictures["ship.png"] = Ship();
  platform.files["ship.h"] = HeaderOf(Ship(), "ship.png");
  platform.pictures["stale.png"] = Ship();
  std::string stale = HeaderOf(Ship(), "stale.png");
  platform.files["stale.h"] = stale.replace(stale.find("0x4000"), 6, "0x0000");
  platform.pictures["hero.aseprite"] = Ship();
  platform.pictures["wide.png"] = PictureOf({std::vector<std::uint32_t>(12, K)});
  platform.pictures["near\x1b.png"] = PictureOf({{0xFF565555, 0xFE000000, W, W, W, W, W, K}});
  platform.files["ship.out"] = platform.files["ship.h"];  // told by its first line
  platform.files["notes.h"] = "#pragma once\n";
  platform.files["locked.h"] = "";
  platform.unreadable.insert("locked.h");
  platform.pictures["locked.png"] = Ship();
  return platform;
}

std::string ReadGolden(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// Compares text with the golden file, or rewrites it when asked to; no file stands for
// no text.
void ExpectGolden(const std::string& name, const std::string& text) {
  const std::string path = std::string(QUILLBIT_REPORT_GOLDENS) + "/" + name;
  if (std::getenv("QUILLBIT_UPDATE_GOLDENS")) {
    std::remove(path.c_str());
    if (!text.empty()) std::ofstream(path, std::ios::binary) << text;
    return;
  }
  EXPECT_EQ(text, ReadGolden(path)) << "against " << path;
}

TEST(CheckReport, WordsAndJsonMatchTheirGoldenFiles) {
  const struct {
    const char* name;
    std::vector<std::string> files;
    int status;
  } cases[] = {
      {"picture", {"art/ship.png"}, 0},
      {"header-beside", {"ship.png", "stale.png", "hero.aseprite", "locked.png"}, 1},
      {"findings", {"near\x1b.png"}, 1},
      {"stop", {"wide.png"}, 1},
      {"headers", {"ship.h", "ship.out", "notes.h"}, 1},
      {"unreadable", {"gone.png", "locked.h", "gone.h"}, 1},
  };
  for (const auto& c : cases) {
    for (const bool json : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (json ? " as JSON" : ""));
      FakeCheckPlatform platform = Folder();
      std::vector<std::string> arguments = c.files;
      if (json) arguments.insert(arguments.begin(), "--json");
      EXPECT_EQ(RunCheck(platform, arguments), c.status);
      const std::string stem = std::string(c.name) + (json ? ".json" : "");
      ExpectGolden(stem + ".out", platform.output);
      ExpectGolden(stem + ".err", platform.error);
    }
  }
}

}  // namespace
}  // namespace quillbit::testing
