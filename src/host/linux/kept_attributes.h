// What a replaced file keeps of the one it replaces.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

#include "host/linux/open_folder.h"

namespace quillbit {

// The mode, owner, group and access ACL of a regular file, to be given to the file that
// replaces it: a header someone made private, shared with a colleague by ACL or handed
// to another owner stays that way when it is written anew.
class KeptAttributes {
 public:
  // What name in folder has; nullopt when no regular file is there (nothing, or a link,
  // which the new file replaces as it is). A folder there is an error: RunTimeError with what.
  static std::optional<KeptAttributes> Of(const OpenFolder& folder, const std::string& name,
                                          const std::string& what);

  // Nobody may write to the file: the user marked it read-only.
  bool ReadOnly() const { return (info_.st_mode & 0222) == 0; }
  // Gives the attributes to the open file fd: owner and group only where the process may
  // set them, the rest always. Failures throw RunTimeError with what.
  void ApplyTo(int fd, const std::string& what) const;

 private:
  struct stat info_ {};
  bool aclKnown_ = false;  // without /proc the ACL cannot be read: the new file's stays
  std::optional<std::string> acl_;
};

}  // namespace quillbit
