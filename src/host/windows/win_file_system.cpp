#include "host/windows/win_file_system.h"

#include <windows.h>
// windows.h maps CopyFile to CopyFileW, which would rename our member below.
#undef CopyFile

#include <algorithm>
#include <mutex>
#include <vector>

#include "host/common/report_texts.h"
#include "host/run_end.h"
#include "host/windows/win_error.h"
#include "host/windows/win_paths.h"
#include "host/windows/win_text.h"

namespace quillbit {

namespace {

bool HasAttribute(const std::wstring& path, DWORD attribute) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute);
}

bool IsFolder(const std::wstring& path) { return HasAttribute(path, FILE_ATTRIBUTE_DIRECTORY); }

enum class FileKind { Missing, Regular, Other };

// What stands at path, links followed: a file on a disk, or a folder, device or pipe.
FileKind KindOf(const std::wstring& path) {
  const HANDLE file =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FileKind::Missing;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool regular = GetFileType(file) == FILE_TYPE_DISK &&
                       GetFileInformationByHandle(file, &info) &&
                       !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CloseHandle(file);
  return regular ? FileKind::Regular : FileKind::Other;
}

// The temporary file that exists right now, if any, for the console's Ctrl-C: the
// handler runs on a thread of its own, so the name is only changed, and a temporary file
// only made, moved or removed, under the lock, which the handler keeps until the end.
std::mutex temporaryLock;
std::wstring temporaryName;

BOOL WINAPI RemoveTemporaryAndEnd(DWORD) {
  temporaryLock.lock();
  if (!temporaryName.empty()) {
    SetFileAttributesW(temporaryName.c_str(), FILE_ATTRIBUTE_NORMAL);
    // CopyFileW may hold it for the moment of its copy: wait for that, a second at most.
    for (int attempt = 0; !DeleteFileW(temporaryName.c_str()) && attempt < 100; ++attempt)
      Sleep(10);
  }
  // With the status the default handler gives, but at once, as a signal ends the run on
  // Linux: ExitProcess would first stop the batch's thread wherever it is, then run every
  // library's clean-up, which waits forever for any lock that thread held when stopped.
  TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
  return TRUE;
}

void RemoveTemporaryOnInterrupt() {
  static const bool installed = SetConsoleCtrlHandler(RemoveTemporaryAndEnd, TRUE);
  static_cast<void>(installed);
}

// A new, uniquely named file beside the target, so that moving it there stays one
// rename on one volume. Removed unless it was moved into place.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& nearPath, const std::string& what) {
    RemoveTemporaryOnInterrupt();
    const std::string folder = WindowsParentFolderName(nearPath);
    const std::lock_guard<std::mutex> lock(temporaryLock);
    for (unsigned attempt = 0; handle_ == INVALID_HANDLE_VALUE; ++attempt) {
      name_ = WideFromUtf8(WindowsBuildPath(folder, UniqueName(attempt)));
      // Shared for deletion, so that Ctrl-C can remove it while it is being written.
      handle_ = CreateFileW(name_.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ == INVALID_HANDLE_VALUE && (GetLastError() != ERROR_FILE_EXISTS || attempt == 99))
        FailWithLastError(what);
    }
    temporaryName = name_;
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    const std::lock_guard<std::mutex> lock(temporaryLock);
    temporaryName.clear();
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
  // Moves the closed file to destination, replacing a file there only when asked; false
  // when something is there and it was not to be replaced.
  bool MoveTo(const std::wstring& destination, bool replace, const std::string& what) {
    const std::lock_guard<std::mutex> lock(temporaryLock);
    if (!MoveFileExW(name_.c_str(), destination.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
      const DWORD error = GetLastError();
      if (!replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) return false;
      FailWithLastError(what);
    }
    committed_ = true;
    temporaryName.clear();
    return true;
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
// without MOVEFILE_REPLACE_EXISTING keeps the never-overwrite promise, and a regular file
// found there is the copy another run made a moment earlier.
void WinFileSystem::CopyFile(const std::string& source, const std::string& destination,
                             bool overwrite) const {
  const std::string what = report_text::CannotCopy(source, destination);
  const std::wstring wideSource = WideFromUtf8(source);
  const std::wstring wideDestination = WideFromUtf8(destination);
  if (IsFolder(wideSource))
    throw RunTimeError(report_text::Because(what, report_text::kSourceIsFolder));
  // A missing source is left to CopyFileW, whose report says so.
  if (KindOf(wideSource) == FileKind::Other)
    throw RunTimeError(report_text::Because(what, report_text::kSourceNotRegular));
  TemporaryFile copy(destination, what);
  copy.Close(what);
  if (!CopyFileW(wideSource.c_str(), copy.name().c_str(), FALSE)) FailWithLastError(what);
  if (!copy.MoveTo(wideDestination, overwrite, what) &&
      KindOf(wideDestination) != FileKind::Regular)
    throw RunTimeError(report_text::Because(what, SystemErrorText(ERROR_ALREADY_EXISTS)));
}

std::string WinFileSystem::BuildPath(const std::string& folder, const std::string& name) const {
  return WindowsBuildPath(folder, name);
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string what = report_text::CannotWrite(path);
  const std::wstring widePath = WideFromUtf8(path);
  if (IsFolder(widePath))
    throw RunTimeError(report_text::Because(what, report_text::kTargetIsFolder));
  // Windows refuses to replace a read-only file, but not every file system under it
  // does (Wine on Linux renames over it); the user's "read-only" must hold everywhere.
  if (HasAttribute(widePath, FILE_ATTRIBUTE_READONLY))
    throw RunTimeError(report_text::Because(what, report_text::kReadOnly));
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
    if (length == 0) FailWithLastError(report_text::kProgramFolderUnknown);
    if (length < buffer.size()) {
      return WindowsParentFolderName(Utf8FromWide(std::wstring(buffer.data(), length)));
    }
    buffer.resize(buffer.size() * 2);  // the name was cut short
  }
}

}  // namespace quillbit
