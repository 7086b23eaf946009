// The host on Linux: the format libraries decode pictures, POSIX calls do the files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/presentation.h"

namespace quillbit {

class LinuxHost : public Host {
 public:
  LinuxHost(std::vector<std::string> arguments, Presentation& presentation);

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
  // The picture surface: ARGB pixels, row by row.
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace quillbit
