// quillbit-check's platform under Node: pictures through the Node host's own loading,
// files and streams through Node, the drawing as the environment asks for it.
#pragma once

#include "check/check_platform.h"
#include "host/common/presentation.h"
#include "host/node/node_host.h"

namespace quillbit {

class NodeCheckPlatform : public CheckPlatform {
 public:
  NodeCheckPlatform();

  DecodedPicture LoadPicture(const std::string& path) override;
  std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit) override;
  std::unique_ptr<FileSystem> CreateFileSystem() override { return NodeFileSystem(); }
  std::string HeaderBytes(const std::string& text) override { return text; }
  TerminalFacts Terminal() override;
  void Write(const std::string& text, Stream stream) override;

 private:
  NodeStreams streams_;
  TerminalPresentation unusedMessages_{false, streams_};  // loading a picture shows no message
  NodeHost pictures_;                                     // reads pictures as quillbit does
};

}  // namespace quillbit
