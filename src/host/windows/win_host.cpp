#include "host/windows/win_host.h"

#include <climits>

#include "host/common/cannot_read_picture.h"
#include "host/run_end.h"
#include "host/windows/win_file_system.h"
#include "host/windows/win_picture.h"
#include "host/windows/win_text.h"

namespace quillbit {

namespace {

int Side(std::uint32_t pixels, const std::string& path) {
  if (pixels > static_cast<std::uint32_t>(INT_MAX))
    throw CannotReadPicture(path, "picture too large");
  return static_cast<int>(pixels);
}

}  // namespace

WinHost::WinHost(std::vector<std::string> arguments, Presentation& presentation)
    : SurfaceHost(std::move(arguments), presentation) {}

WinHost::~WinHost() = default;

std::string WinHost::AppPath() { return ExecutableFolder(); }

std::unique_ptr<FileSystem> WinHost::CreateFileSystem() {
  return std::make_unique<WinFileSystem>();
}

void WinHost::PreparePictureSurface() {
  if (!picture_) picture_ = std::make_unique<WicPicture>();
  ResizeSurface(0, 0);
}

// Only the size is read here; the pixels wait for Refresh, which the conversion calls
// after it has checked the size against its limits, so a huge picture is never decoded.
void WinHost::LoadPicture(const std::string& path) {
  if (!picture_) PreparePictureSurface();
  ResizeSurface(0, 0);
  picture_->Open(path);
  ResizeSurface(Side(picture_->Width(), path), Side(picture_->Height(), path));
}

void WinHost::Refresh() {
  if (picture_) FillSurface(picture_->ReadPixels());
}

void WinHost::WriteTextFile(const std::string& path, const std::string& text) {
  WriteFileAtomically(path, AnsiFromUtf8(text));
}

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8FromWide(argv[i]));
  return arguments;
}

}  // namespace quillbit
