// A host for unit tests: argument text given, messages recorded, pictures and
// files in memory. Path names follow the POSIX rules of the real host.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/run_end.h"

namespace quillbit::testing {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;  // row by row, 0xRRGGBB
};

// A picture from rows of colours.
Picture PictureOf(const std::vector<std::vector<std::uint32_t>>& rows);
// A picture of one colour.
Picture Filled(int width, int height, std::uint32_t colour);

struct Message {
  MessageKind kind;
  std::string text;
};

class ScriptedHost : public Host {
 public:
  std::optional<std::string> command = std::string();
  std::string appPath = "/opt/quillbit";
  std::map<std::string, Picture> pictures;   // what LoadPicture finds
  std::map<std::string, std::string> files;  // the file system's files and their contents
  std::set<std::string> unwritable;          // paths where WriteTextFile fails
  std::vector<Message> messages;
  int surfacesPrepared = 0;

  std::optional<std::string> Command() override { return command; }
  void MsgBox(const std::string& text, MessageKind kind) override {
    messages.push_back({kind, text});
  }
  std::string AppPath() override { return appPath; }
  std::unique_ptr<FileSystem> CreateFileSystem() override;

  void PreparePictureSurface() override { ++surfacesPrepared; }
  void LoadPicture(const std::string& path) override;
  double ScaleWidth() const override { return loaded_.width; }
  double ScaleHeight() const override { return loaded_.height; }
  void Refresh() override {}
  std::uint32_t Point(double x, double y) const override;
  void WriteTextFile(const std::string& path, const std::string& text) override;

  // Runs the batch and returns how it ended.
  ExitStatus Run();
  // Texts of the recorded messages of one kind.
  std::vector<std::string> Texts(MessageKind kind) const;

 private:
  Picture loaded_;
};

}  // namespace quillbit::testing
