#include "host/linux/open_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quillbit {

SplitPath SplitAtLastComponent(const std::string& path) {
  const std::size_t end = path.find_last_not_of('/');
  if (end == std::string::npos) return path.empty() ? SplitPath{".", ""} : SplitPath{"/", "."};
  const std::size_t slash = path.rfind('/', end);
  if (slash == std::string::npos) return {".", path};
  const std::size_t folderEnd = path.find_last_not_of('/', slash);
  return {folderEnd == std::string::npos ? "/" : path.substr(0, folderEnd + 1),
          path.substr(slash + 1)};
}

OpenFolder::OpenFolder(std::string path) : path_(std::move(path)) {
  fd_ = ::open(path_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) error_ = errno;
}

OpenFolder::~OpenFolder() {
  if (fd_ >= 0) ::close(fd_);
}

const OpenFolder& Folders::Holding(const std::string& path) {
  std::string folder = SplitAtLastComponent(path).folder;
  if (!last_ || last_->path() != folder) last_ = std::make_unique<OpenFolder>(std::move(folder));
  return *last_;
}

}  // namespace quillbit
