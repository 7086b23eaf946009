// The host on Windows: the shared picture reader decodes pictures, wide Win32 calls do
// the files, and messages go to message boxes or the console.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/common/surface_host.h"

namespace quillbit {

class WinHost : public SurfaceHost {
 public:
  // arguments in UTF-8, as Utf8Arguments gives them.
  WinHost(std::vector<std::string> arguments, Presentation& presentation);

  std::string AppPath() override;
  std::unique_ptr<FileSystem> CreateFileSystem() override;

  void PreparePictureSurface() override;
  void LoadPicture(const std::string& path) override;
  void Refresh() override;

  void WriteTextFile(const std::string& path, const std::string& text) override;
};

// The arguments the C runtime parsed from the command line, program name left out, in UTF-8.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);

}  // namespace quillbit
