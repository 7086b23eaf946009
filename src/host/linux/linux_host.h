// The host on Linux: the format libraries decode pictures, POSIX calls do the files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/common/surface_host.h"
#include "host/linux/open_folder.h"

namespace quillbit {

class LinuxHost : public SurfaceHost {
 public:
  LinuxHost(std::vector<std::string> arguments, Presentation& presentation);

  std::string AppPath() override;
  std::unique_ptr<FileSystem> CreateFileSystem() override;

  void PreparePictureSurface() override;
  void LoadPicture(const std::string& path) override;
  void Refresh() override;

  void WriteTextFile(const std::string& path, const std::string& text) override;

 private:
  std::shared_ptr<Folders> folders_;  // shared with the file-system objects it creates
};

}  // namespace quillbit
