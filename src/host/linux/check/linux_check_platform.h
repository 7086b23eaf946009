// quillbit-check's platform on Linux: pictures through the Linux host's own loading, files
// through POSIX calls, and what the terminal and the environment say about the drawing.
#pragma once

#include <string>

#include "check/check_platform.h"
#include "host/common/presentation.h"
#include "host/linux/linux_host.h"

namespace quillbit {

class LinuxCheckPlatform : public CheckPlatform {
 public:
  LinuxCheckPlatform();

  DecodedPicture LoadPicture(const std::string& path) override;
  std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit) override;
  std::unique_ptr<FileSystem> CreateFileSystem() override;
  std::string HeaderBytes(const std::string& text) override { return text; }
  TerminalFacts Terminal() override;
  void Write(const std::string& text, Stream stream) override;

 private:
  TerminalPresentation unusedMessages_{false};  // loading a picture shows no message
  LinuxHost pictures_;                          // reads pictures exactly as quillbit does
};

}  // namespace quillbit
