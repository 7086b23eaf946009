#include "host/windows/win_error.h"

#include "host/common/report_texts.h"
#include "host/run_end.h"
#include "host/windows/win_text.h"

namespace quillbit {

namespace {

std::string FormatSystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD length =
      FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                           text.back() == L'.'))
    text.pop_back();
  return Utf8FromWide(text);
}

}  // namespace

std::string SystemErrorText(DWORD error) {
  const std::string text = FormatSystemMessage(error);
  return text.empty() ? "system error " + std::to_string(error) : text;
}

void FailWithLastError(const std::string& what) {
  throw RunTimeError(report_text::Because(what, SystemErrorText(GetLastError())));
}

}  // namespace quillbit
