// Reads the message box titled "quillbit" that another Windows program shows, from the
// same desktop: prints its text and whether it carries an icon, for the box test.
// Output: line 1 "icon: yes" or "icon: no", then the text in UTF-8 as it stands in the box.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Findings {
  std::wstring text;
  bool icon = false;
};

BOOL CALLBACK Inspect(HWND child, LPARAM data) {
  auto& found = *reinterpret_cast<Findings*>(data);
  wchar_t kind[64] = {};
  GetClassNameW(child, kind, 64);
  if (lstrcmpiW(kind, L"Static") != 0 || !IsWindowVisible(child)) return TRUE;
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  if ((style & SS_TYPEMASK) == SS_ICON) {
    found.icon = found.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    return TRUE;
  }
  const int length = GetWindowTextLengthW(child);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(child, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  if (!text.empty()) found.text = text;
  return TRUE;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

}  // namespace

int main() {
  HWND box = nullptr;
  for (int attempt = 0; attempt < 100 && !box; ++attempt, Sleep(100))
    box = FindWindowW(L"#32770", L"quillbit");
  if (!box) {
    std::fputs("no box titled quillbit\n", stderr);
    return 1;
  }
  _setmode(_fileno(stdout), _O_BINARY);  // the text's CR LF stay as they are in the box
  Findings found;
  EnumChildWindows(box, Inspect, reinterpret_cast<LPARAM>(&found));
  const std::string text = Utf8(found.text);
  std::printf("icon: %s\n", found.icon ? "yes" : "no");
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
