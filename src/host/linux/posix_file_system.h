// The file-system object and text files on POSIX systems: separator "/", names as bytes.
#pragma once

#include <string>

#include "host/host.h"

namespace quillbit {

class PosixFileSystem : public FileSystem {
 public:
  std::string GetParentFolderName(const std::string& path) const override;
  std::string GetFileName(const std::string& path) const override;
  std::string GetBaseName(const std::string& path) const override;
  bool FileExists(const std::string& path) const override;
  void CopyFile(const std::string& source, const std::string& destination,
                bool overwrite) const override;
  std::string BuildPath(const std::string& folder, const std::string& name) const override;
};

// Replaces path with text through a temporary file in the same folder.
void WriteFileAtomically(const std::string& path, const std::string& text);

// The folder of the running executable, symlinks resolved.
std::string ExecutableFolder();

}  // namespace quillbit
