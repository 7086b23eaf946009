#include "host/common/slash_paths.h"

namespace quillbit::slash_paths {

namespace {

std::string WithoutTrailingSeparators(const std::string& path) {
  std::size_t end = path.find_last_not_of('/');
  return end == std::string::npos ? path.substr(0, path.empty() ? 0 : 1) : path.substr(0, end + 1);
}

}  // namespace

std::string ParentFolderName(const std::string& path) {
  const std::string trimmed = WithoutTrailingSeparators(path);
  const std::size_t slash = trimmed.rfind('/');
  if (slash == std::string::npos || trimmed == "/") return "";
  const std::size_t end = trimmed.find_last_not_of('/', slash);
  return end == std::string::npos ? "/" : trimmed.substr(0, end + 1);
}

std::string FileName(const std::string& path) {
  const std::string trimmed = WithoutTrailingSeparators(path);
  if (trimmed == "/") return "";
  const std::size_t slash = trimmed.rfind('/');
  return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string BaseName(const std::string& path) {
  const std::string name = FileName(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string BuildPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace quillbit::slash_paths
