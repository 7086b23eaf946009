#include "host/windows/check/win_check_platform.h"

#include <windows.h>
// windows.h maps CopyFile to CopyFileW, which would rename WinFileSystem's member.
#undef CopyFile

#include <algorithm>
#include <cstdlib>

#include "check/host_picture.h"
#include "host/common/report_texts.h"
#include "host/common/standard_streams.h"
#include "host/run_end.h"
#include "host/windows/win_error.h"
#include "host/windows/win_file_system.h"
#include "host/windows/win_text.h"

namespace quillbit {

namespace {

class OpenFile {
 public:
  explicit OpenFile(const std::string& path)
      : handle_(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE handle() const { return handle_; }

 private:
  HANDLE handle_;
};

RunTimeError CannotRead(const std::string& path, const std::string& why) {
  return RunTimeError(report_text::CannotRead(path, why));
}

std::optional<std::string> EnvironmentValue(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  if (!value) return std::nullopt;
  return Utf8FromWide(value);
}

}  // namespace

WinCheckPlatform::WinCheckPlatform() : pictures_({}, unusedMessages_) {}

DecodedPicture WinCheckPlatform::LoadPicture(const std::string& path) {
  return LoadWithHost(pictures_, path);
}

std::optional<std::string> WinCheckPlatform::ReadFileStart(const std::string& path,
                                                           std::size_t limit) {
  const OpenFile file(path);
  if (file.handle() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw CannotRead(path, SystemErrorText(error));
  }
  // A pipe or a device in the way must not hold the check.
  if (GetFileType(file.handle()) != FILE_TYPE_DISK)
    throw CannotRead(path, report_text::kFileNotRegular);
  std::string bytes(limit, '\0');
  std::size_t got = 0;
  while (got < limit) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(limit - got, 1 << 20));
    DWORD count = 0;
    if (!ReadFile(file.handle(), &bytes[got], chunk, &count, nullptr))
      throw CannotRead(path, SystemErrorText(GetLastError()));
    if (count == 0) break;
    got += count;
  }
  bytes.resize(got);
  return bytes;
}

std::unique_ptr<FileSystem> WinCheckPlatform::CreateFileSystem() {
  return std::make_unique<WinFileSystem>();
}

std::string WinCheckPlatform::HeaderBytes(const std::string& text) { return AnsiFromUtf8(text); }

TerminalFacts WinCheckPlatform::Terminal() {
  TerminalFacts facts;
  facts.isTerminal = console_.IsConsole();
  facts.takesEscapes = console_.TakesEscapes();
  facts.takesUtf8 = GetConsoleOutputCP() == CP_UTF8;  // set by Utf8Console
  facts.noColor = EnvironmentValue(L"NO_COLOR");
  facts.term = EnvironmentValue(L"TERM");
  return facts;
}

void WinCheckPlatform::Write(const std::string& text, Stream stream) {
  WriteStandardStream(text, stream == Stream::Error);
}

}  // namespace quillbit
