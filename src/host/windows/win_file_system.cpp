#include "host/windows/win_file_system.h"

#include <windows.h>
// windows.h maps CopyFile to CopyFileW, which would rename our member below.
#undef CopyFile

#include <algorithm>
#include <vector>

#include "host/run_end.h"
#include "host/windows/win_error.h"
#include "host/windows/win_paths.h"
#include "host/windows/win_text.h"

namespace quillbit {

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

bool HasAttribute(const std::wstring& path, DWORD attribute) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute);
}

bool IsFolder(const std::wstring& path) { return HasAttribute(path, FILE_ATTRIBUTE_DIRECTORY); }

// A new, uniquely named file beside the target, so that moving it there stays one
// rename on one volume. Removed unless it was moved into place.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& nearPath, const std::string& what) {
    const std::string folder = WindowsParentFolderName(nearPath);
    for (unsigned attempt = 0; handle_ == INVALID_HANDLE_VALUE; ++attempt) {
      name_ = WideFromUtf8(WindowsBuildPath(folder, UniqueName(attempt)));
      handle_ = CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ == INVALID_HANDLE_VALUE && (GetLastError() != ERROR_FILE_EXISTS || attempt == 99))
        FailWithLastError(what);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    if (committed_) return;
    SetFileAttributesW(name_.c_str(), FILE_ATTRIBUTE_NORMAL);  // a copied read-only flag
    DeleteFileW(name_.c_str());
  }

  void Write(const std::string& bytes, const std::string& what) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr))
        FailWithLastError(what);
      done += written;
    }
  }
  // Closes the file, checking the close too: a full disk may only show here.
  void Close(const std::string& what) {
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    if (!closed) FailWithLastError(what);
  }
  // Moves the closed file to destination, replacing a file there only when asked.
  void MoveTo(const std::wstring& destination, bool replace, const std::string& what) {
    if (!MoveFileExW(name_.c_str(), destination.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
      FailWithLastError(what);
    committed_ = true;
  }
  const std::wstring& name() const { return name_; }

 private:
  static std::string UniqueName(unsigned attempt) {
    return ".quillbit-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "-" + std::to_string(attempt) + ".tmp";
  }

  std::wstring name_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool committed_ = false;
};

}  // namespace

std::string WinFileSystem::GetParentFolderName(const std::string& path) const {
  return WindowsParentFolderName(path);
}

std::string WinFileSystem::GetFileName(const std::string& path) const {
  return WindowsFileName(path);
}

std::string WinFileSystem::GetBaseName(const std::string& path) const {
  return WindowsBaseName(path);
}

bool WinFileSystem::FileExists(const std::string& path) const {
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// CopyFileW alone would show a half-written file under the final name while it copies,
// and a killed run would leave it there for good; the next run would then keep it as
// the companion. So the copy is made under a temporary name and renamed; the rename
// without MOVEFILE_REPLACE_EXISTING keeps the fail-if-exists promise.
void WinFileSystem::CopyFile(const std::string& source, const std::string& destination,
                             bool overwrite) const {
  const std::string what = "cannot copy " + Quoted(source) + " to " + Quoted(destination);
  const std::wstring wideSource = WideFromUtf8(source);
  const std::wstring wideDestination = WideFromUtf8(destination);
  if (IsFolder(wideSource)) throw RunTimeError(what + ": the source is a folder");
  TemporaryFile copy(destination, what);
  copy.Close(what);
  if (!CopyFileW(wideSource.c_str(), copy.name().c_str(), FALSE)) FailWithLastError(what);
  copy.MoveTo(wideDestination, overwrite, what);
}

std::string WinFileSystem::BuildPath(const std::string& folder, const std::string& name) const {
  return WindowsBuildPath(folder, name);
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string what = "cannot write " + Quoted(path);
  const std::wstring widePath = WideFromUtf8(path);
  if (IsFolder(widePath)) throw RunTimeError(what + ": it is a folder");
  // Windows refuses to replace a read-only file, but not every file system under it
  // does (Wine on Linux renames over it); the user's "read-only" must hold everywhere.
  if (HasAttribute(widePath, FILE_ATTRIBUTE_READONLY))
    throw RunTimeError(what + ": the file is read-only");
  TemporaryFile file(path, what);
  file.Write(bytes, what);
  file.Close(what);
  file.MoveTo(widePath, true, what);
}

std::string ExecutableFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) FailWithLastError("cannot find the program's folder");
    if (length < buffer.size()) {
      return WindowsParentFolderName(Utf8FromWide(std::wstring(buffer.data(), length)));
    }
    buffer.resize(buffer.size() * 2);  // the name was cut short
  }
}

}  // namespace quillbit
