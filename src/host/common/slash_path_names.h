// The path names of a file system that follows "/" rules, for the file systems that differ
// only in what files they hold: the browser's, and those of previews and tests.
#pragma once

#include <string>

#include "host/common/slash_paths.h"
#include "host/host.h"

namespace quillbit {

class SlashPathNames : public FileSystem {
 public:
  std::string GetParentFolderName(const std::string& path) const override {
    return slash_paths::ParentFolderName(path);
  }
  std::string GetFileName(const std::string& path) const override {
    return slash_paths::FileName(path);
  }
  std::string GetBaseName(const std::string& path) const override {
    return slash_paths::BaseName(path);
  }
  std::string BuildPath(const std::string& folder, const std::string& name) const override {
    return slash_paths::BuildPath(folder, name);
  }
};

}  // namespace quillbit
