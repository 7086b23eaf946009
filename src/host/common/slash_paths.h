// Path names with "/" as the only separator, as pure text work: the rules of the
// POSIX file system, shared with the scripted host of the tests on every platform.
#pragma once

#include <string>

namespace quillbit::slash_paths {

// The path without its last component and the separators before it; "/" for a
// component right under the root, empty for a bare name.
std::string ParentFolderName(const std::string& path);
// The last component, trailing separators ignored.
std::string FileName(const std::string& path);
// The last component without its last dot and what follows.
std::string BaseName(const std::string& path);
// folder and name joined by one separator; name alone when folder is empty.
std::string BuildPath(const std::string& folder, const std::string& name);

}  // namespace quillbit::slash_paths
