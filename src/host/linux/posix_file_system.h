// The file-system object and text files on POSIX systems: separator "/", names as bytes.
#pragma once

#include <memory>
#include <string>

#include "host/host.h"
#include "host/linux/open_folder.h"

namespace quillbit {

// Works in the folders the host opened for the pictures, so the companion goes into the
// very folder the last picture was read from.
class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(std::shared_ptr<Folders> folders);

  std::string GetParentFolderName(const std::string& path) const override;
  std::string GetFileName(const std::string& path) const override;
  std::string GetBaseName(const std::string& path) const override;
  bool FileExists(const std::string& path) const override;
  // Without overwrite, a regular file that another run put at destination in the meantime
  // counts as copied; anything else there is an error.
  void CopyFile(const std::string& source, const std::string& destination,
                bool overwrite) const override;
  std::string BuildPath(const std::string& folder, const std::string& name) const override;

 private:
  std::shared_ptr<Folders> folders_;
};

// Replaces path with text through a new file in the same folder. A replaced file's mode,
// owner, group and ACL stay; a read-only one is refused.
void WriteFileAtomically(Folders& folders, const std::string& path, const std::string& text);

// The folder of the running executable, symlinks resolved.
std::string ExecutableFolder();

}  // namespace quillbit
