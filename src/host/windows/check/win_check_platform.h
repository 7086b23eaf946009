// quillbit-check's platform on Windows: pictures through the Windows host's own loading,
// files through wide Win32 calls, and what the console and the environment say about
// the drawing.
#pragma once

#include <string>

#include "check/check_platform.h"
#include "host/common/presentation.h"
#include "host/windows/check/win_virtual_terminal.h"
#include "host/windows/win_host.h"

namespace quillbit {

class WinCheckPlatform : public CheckPlatform {
 public:
  WinCheckPlatform();

  DecodedPicture LoadPicture(const std::string& path) override;
  std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit) override;
  std::unique_ptr<FileSystem> CreateFileSystem() override;
  std::string HeaderBytes(const std::string& text) override;
  TerminalFacts Terminal() override;
  void Write(const std::string& text, Stream stream) override;

 private:
  VirtualTerminalOutput console_;
  TerminalPresentation unusedMessages_{false};  // loading a picture shows no message
  WinHost pictures_;                            // reads pictures exactly as quillbit.exe does
};

}  // namespace quillbit
