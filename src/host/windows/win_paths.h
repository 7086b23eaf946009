// Path text on Windows: "\" and "/" both separate components, and a path may start
// with a root that has no parent ("C:\", "C:", "\", "\\server\share\", "\\?\C:\").
// Pure text work, so it needs no Windows headers.
#pragma once

#include <string>

namespace quillbit {

// The path without its last component and the separators before it; a root stays whole.
std::string WindowsParentFolderName(const std::string& path);

// The last component; empty for a root alone.
std::string WindowsFileName(const std::string& path);

// The last component without its last dot and what follows.
std::string WindowsBaseName(const std::string& path);

// folder and name joined by "\", unless folder already ends in a separator or is a bare drive.
std::string WindowsBuildPath(const std::string& folder, const std::string& name);

}  // namespace quillbit
