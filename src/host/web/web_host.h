// The host in the browser: pictures from the page, through the same picture reader as on
// Linux and Windows; messages, headers and the companion to the page as they come, each
// picture with what quillbit-check sees in it.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/common/surface_host.h"
#include "host/web/web_page.h"

namespace quillbit {

class WebHost : public SurfaceHost {
 public:
  // names: the pictures' paths, in the order of the batch.
  WebHost(std::vector<std::string> names, WebPage& page);

  void MsgBox(const std::string& text, MessageKind kind) override;
  std::string AppPath() override;
  std::unique_ptr<FileSystem> CreateFileSystem() override;

  void PreparePictureSurface() override;
  void LoadPicture(const std::string& path) override;
  void Refresh() override;

  void WriteTextFile(const std::string& path, const std::string& text) override;

 private:
  // The picture loaded last, until the page has its report.
  struct Unreported {
    std::string path;
    std::vector<std::string> findings;
  };

  void Report(Sprite sprite);

  WebPage& page_;
  std::shared_ptr<std::set<std::string>> written_;  // shared with the file-system objects
  std::optional<Unreported> unreported_;
};

}  // namespace quillbit
