#include "host/windows/win_error.h"

#include <wincodec.h>

#include <cstdio>

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

// The imaging component's codes have no system text; these are the ones a bad picture gives.
const char* ImagingErrorText(HRESULT result) {
  switch (result) {
    case WINCODEC_ERR_COMPONENTNOTFOUND: return "not a picture format Windows can read";
    case WINCODEC_ERR_BADHEADER: return "broken picture header";
    case WINCODEC_ERR_BADIMAGE: return "broken picture data";
    case WINCODEC_ERR_UNKNOWNIMAGEFORMAT: return "unknown picture format";
    case WINCODEC_ERR_STREAMREAD: return "picture data cut short";
    case WINCODEC_ERR_FRAMEMISSING: return "the picture has no image";
    default: return nullptr;
  }
}

std::string Hex(unsigned long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", value);
  return text;
}

}  // namespace

std::string SystemErrorText(DWORD error) {
  const std::string text = FormatSystemMessage(error);
  return text.empty() ? "system error " + std::to_string(error) : text;
}

std::string ResultText(HRESULT result) {
  if (const char* imaging = ImagingErrorText(result)) return imaging;
  const std::string text = FormatSystemMessage(static_cast<DWORD>(result));
  return text.empty() ? "error " + Hex(static_cast<unsigned long>(result)) : text;
}

void FailWithLastError(const std::string& what) {
  throw RunTimeError(what + ": " + SystemErrorText(GetLastError()));
}

}  // namespace quillbit
