// A platform for quillbit-check's unit tests: pictures already decoded, files in memory,
// the terminal as the test says, and what the check writes kept.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "check/check_platform.h"
#include "check/conversion_preview.h"
#include "host/common/report_texts.h"
#include "host/common/slash_path_names.h"
#include "host/run_end.h"

namespace quillbit::testing {

// Path names by the POSIX rules of the Linux host; nothing else is asked of it.
class SlashNames : public SlashPathNames {
 public:
  bool FileExists(const std::string& /*path*/) const override { return false; }
  void CopyFile(const std::string&, const std::string&, bool) const override {}
};

class FakeCheckPlatform : public CheckPlatform {
 public:
  static constexpr char kDenied[] = "Permission denied";  // why an unreadable file is
  std::map<std::string, DecodedPicture> pictures;
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;  // files there that cannot be read
  TerminalFacts terminal;
  bool outputFails = false;
  std::string output;
  std::string error;

  DecodedPicture LoadPicture(const std::string& path) override {
    const auto found = pictures.find(path);
    if (found == pictures.end())
      throw RunTimeError(report_text::CannotReadPicture(path, report_text::kNoSuchFile));
    return found->second;
  }
  std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit) override {
    if (unreadable.count(path)) throw RunTimeError(report_text::CannotRead(path, kDenied));
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second.substr(0, limit);
  }
  std::unique_ptr<FileSystem> CreateFileSystem() override { return std::make_unique<SlashNames>(); }
  std::string HeaderBytes(const std::string& text) override { return text; }
  TerminalFacts Terminal() override { return terminal; }
  void Write(const std::string& text, Stream stream) override {
    if (outputFails && stream == Stream::Output)
      throw RunTimeError("cannot write to standard output: No space left on device");
    (stream == Stream::Output ? output : error) += text;
  }
};

// A picture of rows of 0xAARRGGBB pixels.
inline DecodedPicture PictureOf(const std::vector<std::vector<std::uint32_t>>& rows) {
  DecodedPicture picture{static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), {}};
  for (const auto& row : rows) picture.argb.insert(picture.argb.end(), row.begin(), row.end());
  return picture;
}

constexpr std::uint32_t K = 0xFF000000;  // opaque black
constexpr std::uint32_t D = 0xFF555555;  // opaque dark grey
constexpr std::uint32_t L = 0xFFAAAAAA;  // opaque light grey
constexpr std::uint32_t W = 0xFFFFFFFF;  // opaque white

// The ship of the README: 16 x 2, a black half row, a light and a dark grey pixel.
inline DecodedPicture Ship() {
  std::vector<std::uint32_t> top(16, W);
  std::vector<std::uint32_t> bottom(16, W);
  std::fill(top.begin(), top.begin() + 8, K);
  bottom[0] = L, bottom[1] = D;
  return PictureOf({top, bottom});
}

// What quillbit writes for picture, named path.
inline std::string HeaderOf(const DecodedPicture& picture, const std::string& path) {
  FakeCheckPlatform platform;
  return PreviewConversion(picture, path, platform).headerText;
}

}  // namespace quillbit::testing
