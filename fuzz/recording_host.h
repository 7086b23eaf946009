// A host for fuzz targets that only records messages; every other service is a
// fault, because the code under test must not reach it.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "host/host.h"

namespace quillbit::fuzz {

class RecordingHost : public Host {
 public:
  struct Message {
    MessageKind kind;
    std::string text;
  };
  std::vector<Message> messages;

  std::optional<std::string> Command() override { std::abort(); }
  void MsgBox(const std::string& text, MessageKind kind) override {
    messages.push_back({kind, text});
  }
  std::string AppPath() override { std::abort(); }
  std::unique_ptr<FileSystem> CreateFileSystem() override { std::abort(); }
  void PreparePictureSurface() override { std::abort(); }
  void LoadPicture(const std::string&) override { std::abort(); }
  double ScaleWidth() const override { std::abort(); }
  double ScaleHeight() const override { std::abort(); }
  void Refresh() override { std::abort(); }
  std::uint32_t Point(double, double) const override { std::abort(); }
  void WriteTextFile(const std::string&, const std::string&) override { std::abort(); }
};

}  // namespace quillbit::fuzz
