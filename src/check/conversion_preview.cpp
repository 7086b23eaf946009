#include "check/conversion_preview.h"

#include <utility>
#include <vector>

#include "analysis/bitplane_extraction.h"
#include "analysis/nibble_packing.h"
#include "analysis/picture_intake.h"
#include "header/header_file.h"
#include "host/common/surface_host.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

class RecordedMessages : public Presentation {
 public:
  void Show(const std::string& text, MessageKind kind) override {
    (kind == MessageKind::Information ? information : userError) = text;
  }
  std::string information;
  std::string userError;
};

// A host that holds one picture already decoded and keeps what quillbit would write,
// so the stages run exactly as in quillbit, on the same pixels, without touching a file.
class PreviewHost : public SurfaceHost {
 public:
  PreviewHost(const DecodedPicture& picture, Presentation& messages, CheckPlatform& platform)
      : SurfaceHost({}, messages), picture_(picture), platform_(platform) {}

  std::string AppPath() override { return {}; }
  std::unique_ptr<FileSystem> CreateFileSystem() override { return platform_.CreateFileSystem(); }
  void PreparePictureSurface() override {}
  void LoadPicture(const std::string& /*path*/) override {
    ResizeSurface(picture_.width, picture_.height);
    FillSurface(picture_.argb);
  }
  void Refresh() override {}
  void WriteTextFile(const std::string& path, const std::string& text) override {
    written_ = {path, text};
  }

  const std::pair<std::string, std::string>& Written() const { return written_; }

 private:
  const DecodedPicture& picture_;
  CheckPlatform& platform_;
  std::pair<std::string, std::string> written_;
};

}  // namespace

ConversionPreview PreviewConversion(const DecodedPicture& picture, const std::string& path,
                                    CheckPlatform& platform) {
  RecordedMessages messages;
  PreviewHost host(picture, messages, platform);
  ConversionState state;
  ConversionPreview preview;
  try {
    AnalyzePicture(state, host, path);
  } catch (const EndOfRun&) {
    // The width rule stopped quillbit before its pixel pass; the levels are still
    // worth drawing, so the same pass runs here on the state it left.
    ExtractBitplanes(state, host);
    preview.stop = messages.userError;
  }
  preview.information = messages.information;
  preview.sprite = SpriteOfPlanes(state);
  if (preview.stop) return preview;
  PackPlanes(state);
  WriteHeaderFile(state, host, path);
  preview.headerPath = host.Written().first;
  preview.headerText = host.Written().second;
  return preview;
}

}  // namespace quillbit
