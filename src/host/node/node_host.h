// The host under Node: the same picture reader as everywhere, files and streams through
// Node's fs (node_system.h). Node offers no folder descriptors, ACLs or extended
// attributes, so a header is replaced by name, keeping its mode, owner and group only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/common/standard_streams.h"
#include "host/common/surface_host.h"

namespace quillbit {

// Descriptors 1 and 2 of the Node process, written at once.
class NodeStreams : public StandardStreams {
 public:
  std::optional<std::string> Put(const std::string& text, bool error) override;
};

class NodeHost : public SurfaceHost {
 public:
  NodeHost(std::vector<std::string> arguments, Presentation& presentation);

  std::string AppPath() override;
  std::unique_ptr<FileSystem> CreateFileSystem() override;

  void PreparePictureSurface() override;
  void LoadPicture(const std::string& path) override;
  void Refresh() override;

  void WriteTextFile(const std::string& path, const std::string& text) override;
};

// The Node host's file-system object: "/" path rules, files through Node's fs.
std::unique_ptr<FileSystem> NodeFileSystem();

}  // namespace quillbit
