#include "host/web/web_host.h"

#include "check/colour_findings.h"
#include "host/common/shown_text.h"
#include "host/picture/picture.h"
#include "host/run_end.h"
#include "host/web/memory_file_system.h"
#include "host/web/picture_report.h"

namespace quillbit {

WebHost::WebHost(std::vector<std::string> names, WebPage& page)
    : SurfaceHost(std::move(names), page),
      page_(page),
      written_(std::make_shared<std::set<std::string>>()) {}

// The width rule stops the batch before the header: the picture's report comes from
// quillbit-check's preview instead, before the message that stops it.
void WebHost::MsgBox(const std::string& text, MessageKind kind) {
  if (kind == MessageKind::UserError && unreported_) {
    const DecodedPicture picture{static_cast<int>(ScaleWidth()), static_cast<int>(ScaleHeight()),
                                 Pixels(), Notes()};
    Report(SpriteOfPreview(picture, unreported_->path));
  }
  SurfaceHost::MsgBox(MessageShown(text), kind);  // the page is read by a person, like a box
}

std::string WebHost::AppPath() { return kProgramFolder; }

std::unique_ptr<FileSystem> WebHost::CreateFileSystem() {
  return std::make_unique<MemoryFileSystem>(page_, written_);
}

void WebHost::PreparePictureSurface() { ResizeSurface(0, 0); }

void WebHost::LoadPicture(const std::string& path) {
  Picture picture = quillbit::LoadPicture(
      path, [this](const std::string& name) { return page_.OpenPicture(name); });
  DecodedPicture decoded{picture.width, picture.height, std::move(picture.argb),
                         std::move(picture.notes)};
  unreported_ = Unreported{path, ColourFindings(decoded, path)};
  ResizeSurface(decoded.width, decoded.height);
  FillSurface(std::move(decoded.argb), std::move(decoded.notes));
}

void WebHost::Refresh() {}  // pixels are readable as soon as they are loaded

// The drawing is read back from the header, so it shows exactly what the header holds.
void WebHost::WriteTextFile(const std::string& path, const std::string& text) {
  if (unreported_) {
    if (std::optional<Sprite> sprite = SpriteOfHeader(text)) Report(std::move(*sprite));
  }
  written_->insert(path);
  page_.ReceiveHeader(path, text);
}

void WebHost::Report(Sprite sprite) {
  CheckReport report;
  report.path = unreported_->path;
  report.picture.emplace();
  report.picture->sprite = std::move(sprite);
  report.picture->findings = std::move(unreported_->findings);
  page_.ShowPicture(report);
  unreported_.reset();
}

}  // namespace quillbit
