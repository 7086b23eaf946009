// A file written beside its destination and put there only once it is complete.
#pragma once

#include <cstddef>
#include <string>

#include "host/linux/open_folder.h"

namespace quillbit {

// Where the file system allows it, the file is made without a name (O_TMPFILE) and gets
// one only for the instant of the rename, with the interrupting signals held back, so
// even SIGKILL can hardly leave it behind. Elsewhere it has a temporary name from the
// start, which SIGINT, SIGTERM and SIGHUP remove. Failures throw RunTimeError with what.
class NewFile {
 public:
  // Created in folder as any program creating a file there would: 0666 under the umask
  // or the folder's default ACL.
  NewFile(const OpenFolder& folder, std::string what);
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  // Removes the file unless it was put in place.
  ~NewFile();

  int fd() const { return fd_; }
  void Write(const char* data, std::size_t size);
  // Moves the file to name in the folder, replacing what is there.
  void Replace(const std::string& name);
  // Puts the file at name unless something is there already; false then, and nothing
  // was replaced.
  bool PlaceUnlessTaken(const std::string& name);

 private:
  void CreateNamed();
  void NameUnnamed();
  void Close();
  bool LinkNamed(const std::string& name);
  [[noreturn]] void Fail(int error) const;

  const OpenFolder& folder_;
  std::string what_;
  int fd_ = -1;
  std::string temporaryName_;  // empty while the file has no name
  bool placed_ = false;
};

}  // namespace quillbit
