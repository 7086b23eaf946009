// Files named relative to a folder opened once: a folder swapped for a link to another
// one after the opening cannot send a later step into that other folder.
#pragma once

#include <memory>
#include <string>

namespace quillbit {

// A path cut where its last component begins.
struct SplitPath {
  std::string folder;  // without trailing separators; "." for a bare name
  std::string name;    // keeps trailing separators, so "a/b/" still asks for a folder b
};
SplitPath SplitAtLastComponent(const std::string& path);

// A folder descriptor that only names files (O_PATH), or why the folder did not open.
class OpenFolder {
 public:
  explicit OpenFolder(std::string path);
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;
  ~OpenFolder();

  // The descriptor, or -1 with error() set.
  int fd() const { return fd_; }
  int error() const { return error_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
};

// The folders the run works in. The one used last stays open, so a picture, its header
// and the companion beside the last picture are all found through one descriptor.
class Folders {
 public:
  // The open folder that holds the last component of path.
  const OpenFolder& Holding(const std::string& path);

 private:
  std::unique_ptr<OpenFolder> last_;
};

}  // namespace quillbit
