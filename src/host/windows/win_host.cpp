#include "host/windows/win_host.h"

#include "host/picture/picture.h"
#include "host/windows/win_file_system.h"
#include "host/windows/win_picture_file.h"
#include "host/windows/win_text.h"

namespace quillbit {

WinHost::WinHost(std::vector<std::string> arguments, Presentation& presentation)
    : SurfaceHost(std::move(arguments), presentation) {}

std::string WinHost::AppPath() { return ExecutableFolder(); }

std::unique_ptr<FileSystem> WinHost::CreateFileSystem() {
  return std::make_unique<WinFileSystem>();
}

void WinHost::PreparePictureSurface() { ResizeSurface(0, 0); }

void WinHost::LoadPicture(const std::string& path) {
  Picture picture = quillbit::LoadPicture(
      path, [](const std::string& name) { return std::make_unique<WinPictureFile>(name); });
  ResizeSurface(picture.width, picture.height);
  FillSurface(std::move(picture.argb), std::move(picture.notes));
}

void WinHost::Refresh() {}  // pixels are readable as soon as they are loaded

void WinHost::WriteTextFile(const std::string& path, const std::string& text) {
  WriteFileAtomically(path, AnsiFromUtf8(text));
}

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8FromWide(argv[i]));
  return arguments;
}

}  // namespace quillbit
