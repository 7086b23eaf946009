// The shared unit tests' scripted host names paths by the POSIX rules of the Linux host
// (PosixFileSystem, with its files in memory). posix_file_system.cpp itself needs POSIX
// calls that Windows lacks, so the Windows test build gets its path rules from here:
// the same rules, as pure text work. Files are the scripted host's own, never touched.
#include <stdexcept>

#include "host/posix_file_system.h"

namespace quillbit {

namespace {

std::string WithoutTrailingSeparators(const std::string& path) {
  const std::size_t end = path.find_last_not_of('/');
  return end == std::string::npos ? path.substr(0, path.empty() ? 0 : 1) : path.substr(0, end + 1);
}

[[noreturn]] void NotInTests(const char* what) {
  throw std::logic_error(std::string(what) + " has no stand-in: the scripted host owns files");
}

}  // namespace

std::string PosixFileSystem::GetParentFolderName(const std::string& path) const {
  const std::string trimmed = WithoutTrailingSeparators(path);
  const std::size_t slash = trimmed.rfind('/');
  if (slash == std::string::npos || trimmed == "/") return "";
  const std::size_t end = trimmed.find_last_not_of('/', slash);
  return end == std::string::npos ? "/" : trimmed.substr(0, end + 1);
}

std::string PosixFileSystem::GetFileName(const std::string& path) const {
  const std::string trimmed = WithoutTrailingSeparators(path);
  if (trimmed == "/") return "";
  const std::size_t slash = trimmed.rfind('/');
  return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string PosixFileSystem::GetBaseName(const std::string& path) const {
  const std::string name = GetFileName(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool PosixFileSystem::FileExists(const std::string&) const { NotInTests("FileExists"); }

void PosixFileSystem::CopyFile(const std::string&, const std::string&, bool) const {
  NotInTests("CopyFile");
}

std::string PosixFileSystem::BuildPath(const std::string& folder, const std::string& name) const {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace quillbit
