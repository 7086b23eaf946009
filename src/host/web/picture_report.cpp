#include "host/web/picture_report.h"

#include "check/conversion_preview.h"
#include "check/header_reader.h"
#include "host/common/slash_path_names.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

// Path names as the web host forms them; the preview asks nothing else of its platform.
class SlashNames : public SlashPathNames {
 public:
  bool FileExists(const std::string& /*path*/) const override { return false; }
  void CopyFile(const std::string& source, const std::string& /*destination*/,
                bool /*overwrite*/) const override {
    throw RunTimeError("the preview copies no file (\"" + source + "\")");
  }
};

class PreviewPlatform : public CheckPlatform {
 public:
  DecodedPicture LoadPicture(const std::string& path) override {
    throw RunTimeError("the preview loads no picture (\"" + path + "\")");
  }
  std::optional<std::string> ReadFileStart(const std::string& /*path*/,
                                           std::size_t /*limit*/) override {
    return std::nullopt;
  }
  std::unique_ptr<FileSystem> CreateFileSystem() override { return std::make_unique<SlashNames>(); }
  std::string HeaderBytes(const std::string& text) override { return text; }
  TerminalFacts Terminal() override { return {}; }
  void Write(const std::string& /*text*/, Stream /*stream*/) override {}
};

}  // namespace

std::optional<Sprite> SpriteOfHeader(const std::string& text) {
  HeaderReading reading = ReadQuillbitHeader(text);
  if (!reading.contents) return std::nullopt;
  return std::move(reading.contents->sprite);
}

Sprite SpriteOfPreview(const DecodedPicture& picture, const std::string& path) {
  PreviewPlatform platform;
  return PreviewConversion(picture, path, platform).sprite;
}

}  // namespace quillbit
