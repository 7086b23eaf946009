#include "host/windows/win_picture_file.h"

#include <algorithm>

#include "host/common/report_texts.h"
#include "host/windows/win_error.h"
#include "host/windows/win_text.h"

namespace quillbit {

namespace {

[[noreturn]] void Fail() { throw PictureFault(SystemErrorText(GetLastError())); }

}  // namespace

WinPictureFile::WinPictureFile(const std::string& path) {
  const std::wstring wide = WideFromUtf8(path);
  // CreateFileW opens no folder without backup semantics, and would only say "Access is
  // denied".
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw PictureFault(report_text::kPictureIsFolder);
  handle_ = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) Fail();
  if (GetFileType(handle_) != FILE_TYPE_DISK) {
    CloseHandle(handle_);  // the destructor does not run for a constructor that throws
    throw PictureFault(report_text::kPictureNotRegular);
  }
}

WinPictureFile::~WinPictureFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

std::uint64_t WinPictureFile::Size() {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle_, &size)) Fail();
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t WinPictureFile::ReadAt(std::uint64_t offset, char* out, std::size_t count) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD));
  if (!ReadFile(handle_, out, wanted, &got, &at) && GetLastError() != ERROR_HANDLE_EOF) Fail();
  return got;
}

}  // namespace quillbit
