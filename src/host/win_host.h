// The host on Windows: WIC decodes pictures, wide Win32 calls do the files, and
// messages go to message boxes or the console.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/presentation.h"

namespace quillbit {

class WicPicture;

class WinHost : public Host {
 public:
  // arguments in UTF-8, as Utf8Arguments gives them.
  WinHost(std::vector<std::string> arguments, Presentation& presentation);
  ~WinHost() override;

  std::optional<std::string> Command() override;
  void MsgBox(const std::string& text, MessageKind kind) override;
  std::string AppPath() override;
  std::unique_ptr<FileSystem> CreateFileSystem() override;

  void PreparePictureSurface() override;
  void LoadPicture(const std::string& path) override;
  double ScaleWidth() const override;
  double ScaleHeight() const override;
  void Refresh() override;
  std::uint32_t Point(double x, double y) const override;

  void WriteTextFile(const std::string& path, const std::string& text) override;

 private:
  std::vector<std::string> arguments_;
  Presentation& presentation_;
  // Created with the surface, so a run that ends before its first picture needs no COM.
  std::unique_ptr<WicPicture> picture_;
  // The surface: ARGB pixels, row by row, filled by Refresh.
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// The arguments the C runtime parsed from the command line, program name left out, in UTF-8.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);

}  // namespace quillbit
