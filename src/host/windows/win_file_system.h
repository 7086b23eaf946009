// The file-system object and text files on Windows: UTF-8 paths turned into UTF-16
// for the wide Win32 calls, so every name the user can drop works.
#pragma once

#include <string>

#include "host/host.h"

namespace quillbit {

class WinFileSystem : public FileSystem {
 public:
  std::string GetParentFolderName(const std::string& path) const override;
  std::string GetFileName(const std::string& path) const override;
  std::string GetBaseName(const std::string& path) const override;
  bool FileExists(const std::string& path) const override;
  void CopyFile(const std::string& source, const std::string& destination,
                bool overwrite) const override;
  std::string BuildPath(const std::string& folder, const std::string& name) const override;
};

// Replaces path with bytes through a temporary file in the same folder.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// The folder of the running executable.
std::string ExecutableFolder();

}  // namespace quillbit
