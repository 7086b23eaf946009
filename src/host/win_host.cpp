#include "host/win_host.h"

#include <climits>

#include "host/argument_text.h"
#include "host/cannot_read_picture.h"
#include "host/run_end.h"
#include "host/win_file_system.h"
#include "host/win_picture.h"
#include "host/win_text.h"

namespace quillbit {

namespace {

int Side(std::uint32_t pixels, const std::string& path) {
  if (pixels > static_cast<std::uint32_t>(INT_MAX))
    throw CannotReadPicture(path, "picture too large");
  return static_cast<int>(pixels);
}

}  // namespace

WinHost::WinHost(std::vector<std::string> arguments, Presentation& presentation)
    : arguments_(std::move(arguments)), presentation_(presentation) {}

WinHost::~WinHost() = default;

std::optional<std::string> WinHost::Command() { return QuoteArguments(arguments_); }

void WinHost::MsgBox(const std::string& text, MessageKind kind) { presentation_.Show(text, kind); }

std::string WinHost::AppPath() { return ExecutableFolder(); }

std::unique_ptr<FileSystem> WinHost::CreateFileSystem() {
  return std::make_unique<WinFileSystem>();
}

void WinHost::PreparePictureSurface() {
  if (!picture_) picture_ = std::make_unique<WicPicture>();
  width_ = height_ = 0;
  pixels_.clear();
}

// Only the size is read here; the pixels wait for Refresh, which the conversion calls
// after it has checked the size against its limits, so a huge picture is never decoded.
void WinHost::LoadPicture(const std::string& path) {
  if (!picture_) PreparePictureSurface();
  pixels_.clear();
  width_ = height_ = 0;
  picture_->Open(path);
  width_ = Side(picture_->Width(), path);
  height_ = Side(picture_->Height(), path);
}

double WinHost::ScaleWidth() const { return width_; }

double WinHost::ScaleHeight() const { return height_; }

void WinHost::Refresh() {
  if (picture_) pixels_ = picture_->ReadPixels();
}

std::uint32_t WinHost::Point(double x, double y) const {
  const int column = static_cast<int>(x);
  const int row = static_cast<int>(y);
  if (column < 0 || row < 0 || column >= width_ || row >= height_ || pixels_.empty())
    throw RunTimeError("pixel (" + std::to_string(column) + ", " + std::to_string(row) +
                       ") lies outside the picture");
  const std::uint32_t argb =
      pixels_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
              static_cast<std::size_t>(column)];
  return argb >> 24 == 0xFF ? argb & 0xFFFFFF : 0xFFFFFF;
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
