#include "host/windows/win_paths.h"

namespace quillbit {

namespace {

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

bool IsDriveLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

std::size_t ComponentEnd(const std::string& path, std::size_t from) {
  while (from < path.size() && !IsSeparator(path[from])) ++from;
  return from;
}

// "\\server\share": both names belong to the root, not to the folders under it.
std::size_t ShareEnd(const std::string& path, std::size_t from) {
  const std::size_t server = ComponentEnd(path, from);
  return server == path.size() ? server : ComponentEnd(path, server + 1);
}

bool StartsWithUncMarker(const std::string& path, std::size_t at) {
  return path.size() >= at + 4 && path.compare(at, 3, "UNC") == 0 && IsSeparator(path[at + 3]);
}

// Length of the root at the start of path, its separator included; 0 for a relative path.
std::size_t RootLength(const std::string& path) {
  std::size_t at = 0;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    const bool verbatim =
        path.size() >= 4 && (path[2] == '?' || path[2] == '.') && IsSeparator(path[3]);
    if (!verbatim) return ShareEnd(path, 2) + (ShareEnd(path, 2) < path.size() ? 1 : 0);
    at = StartsWithUncMarker(path, 4) ? ShareEnd(path, 8) : 4;
  }
  if ((at == 0 || at == 4) && path.size() >= at + 2 && IsDriveLetter(path[at]) &&
      path[at + 1] == ':')
    at += 2;
  if (at < path.size() && IsSeparator(path[at])) ++at;
  return at;
}

std::size_t EndWithoutTrailingSeparators(const std::string& path, std::size_t root) {
  std::size_t end = path.size();
  while (end > root && IsSeparator(path[end - 1])) --end;
  return end;
}

// Where the last component starts: just past the last separator after the root.
std::size_t LastComponentStart(const std::string& path, std::size_t root, std::size_t end) {
  std::size_t start = end;
  while (start > root && !IsSeparator(path[start - 1])) --start;
  return start;
}

}  // namespace

std::string WindowsParentFolderName(const std::string& path) {
  const std::size_t root = RootLength(path);
  const std::size_t end = EndWithoutTrailingSeparators(path, root);
  if (end <= root) return "";
  std::size_t cut = LastComponentStart(path, root, end);
  while (cut > root && IsSeparator(path[cut - 1])) --cut;
  return path.substr(0, cut);
}

std::string WindowsFileName(const std::string& path) {
  const std::size_t root = RootLength(path);
  const std::size_t end = EndWithoutTrailingSeparators(path, root);
  if (end <= root) return "";
  const std::size_t start = LastComponentStart(path, root, end);
  return path.substr(start, end - start);
}

std::string WindowsBaseName(const std::string& path) {
  const std::string name = WindowsFileName(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WindowsBuildPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const bool bareDrive = folder.size() == 2 && IsDriveLetter(folder[0]) && folder[1] == ':';
  if (IsSeparator(folder.back()) || bareDrive) return folder + name;
  return folder + "\\" + name;
}

}  // namespace quillbit
