#include "host/web/web_host.h"

#include "host/picture/picture.h"
#include "host/run_end.h"
#include "host/web/memory_file_system.h"

namespace quillbit {

WebHost::WebHost(std::vector<std::string> names, WebPage& page)
    : SurfaceHost(std::move(names), page),
      page_(page),
      written_(std::make_shared<std::set<std::string>>()) {}

std::string WebHost::AppPath() { return kProgramFolder; }

std::unique_ptr<FileSystem> WebHost::CreateFileSystem() {
  return std::make_unique<MemoryFileSystem>(page_, written_);
}

void WebHost::PreparePictureSurface() { ResizeSurface(0, 0); }

void WebHost::LoadPicture(const std::string& path) {
  Picture picture = quillbit::LoadPicture(
      path, [this](const std::string& name) { return page_.OpenPicture(name); });
  try {
    page_.ShowPicture(path, ReportPicture(picture, path));
  } catch (const RunTimeError&) {
    // The batch meets the same error on this picture a moment later and reports it itself.
  }
  ResizeSurface(picture.width, picture.height);
  FillSurface(std::move(picture.argb));
}

void WebHost::Refresh() {}  // pixels are readable as soon as they are loaded

void WebHost::WriteTextFile(const std::string& path, const std::string& text) {
  written_->insert(path);
  page_.ReceiveHeader(path, text);
}

}  // namespace quillbit
