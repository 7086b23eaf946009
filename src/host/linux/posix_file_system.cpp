#include "host/linux/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "host/common/report_texts.h"
#include "host/common/slash_paths.h"
#include "host/linux/kept_attributes.h"
#include "host/linux/new_file.h"
#include "host/linux/readable_file.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

[[noreturn]] void Fail(const std::string& what, int error) {
  throw RunTimeError(report_text::Because(what, std::strerror(error)));
}

const OpenFolder& FolderOrFail(Folders& folders, const std::string& path, const std::string& what) {
  const OpenFolder& folder = folders.Holding(path);
  if (folder.fd() < 0) Fail(what, folder.error());
  return folder;
}

bool IsRegularFileAt(const OpenFolder& folder, const std::string& name) {
  struct stat info {};
  return folder.fd() >= 0 && ::fstatat(folder.fd(), name.c_str(), &info, 0) == 0 &&
         S_ISREG(info.st_mode);
}

void CopyContents(const ReadableFile& input, NewFile& output, const std::string& what) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = ::read(input.fd(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail(what, errno);
    if (got == 0) return;
    output.Write(buffer.data(), static_cast<std::size_t>(got));
  }
}

}  // namespace

PosixFileSystem::PosixFileSystem(std::shared_ptr<Folders> folders) : folders_(std::move(folders)) {}

std::string PosixFileSystem::GetParentFolderName(const std::string& path) const {
  return slash_paths::ParentFolderName(path);
}

std::string PosixFileSystem::GetFileName(const std::string& path) const {
  return slash_paths::FileName(path);
}

std::string PosixFileSystem::GetBaseName(const std::string& path) const {
  return slash_paths::BaseName(path);
}

std::string PosixFileSystem::BuildPath(const std::string& folder, const std::string& name) const {
  return slash_paths::BuildPath(folder, name);
}

bool PosixFileSystem::FileExists(const std::string& path) const {
  return IsRegularFileAt(folders_->Holding(path), SplitAtLastComponent(path).name);
}

void PosixFileSystem::CopyFile(const std::string& source, const std::string& destination,
                               bool overwrite) const {
  const std::string what = report_text::CannotCopy(source, destination);
  const ReadableFile input(AT_FDCWD, source);
  if (input.error() != 0) Fail(what, input.error());
  if (!input.regular())
    throw RunTimeError(report_text::Because(what, report_text::kSourceNotRegular));
  const OpenFolder& folder = FolderOrFail(*folders_, destination, what);
  const std::string name = SplitAtLastComponent(destination).name;
  NewFile output(folder, what);
  CopyContents(input, output, what);
  if (overwrite) {
    output.Replace(name);
  } else if (!output.PlaceUnlessTaken(name) && !IsRegularFileAt(folder, name)) {
    Fail(what, EEXIST);  // what is there is no companion: a folder, a FIFO, a dangling link
  }
}

void WriteFileAtomically(Folders& folders, const std::string& path, const std::string& text) {
  const std::string what = report_text::CannotWrite(path);
  const OpenFolder& folder = FolderOrFail(folders, path, what);
  const std::string name = SplitAtLastComponent(path).name;
  const std::optional<KeptAttributes> kept = KeptAttributes::Of(folder, name, what);
  // As on Windows: the user's "read-only" holds even where the folder would allow a rename.
  if (kept && kept->ReadOnly())
    throw RunTimeError(report_text::Because(what, report_text::kReadOnly));
  NewFile file(folder, what);
  file.Write(text.data(), text.size());
  if (kept) kept->ApplyTo(file.fd(), what);
  file.Replace(name);
}

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) Fail(report_text::kProgramFolderUnknown, errno);
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return slash_paths::ParentFolderName(
          std::string(buffer.data(), static_cast<std::size_t>(length)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace quillbit
