#include "host/sdl_host.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "analysis/picture_limits.h"
#include "host/argument_text.h"
#include "host/decode_memory_cap.h"
#include "host/icon_selection.h"
#include "host/picture_size_check.h"
#include "host/posix_file_system.h"
#include "host/run_end.h"
#include "host/stderr_capture.h"
#include "host/unsafe_format.h"

namespace quillbit {

namespace {

// Far more than any picture of at most 32767 pixels needs, even with metadata;
// keeps a stray huge file from being read into memory.
constexpr off_t kLargestPictureFile = 64 << 20;

std::string CannotRead(const std::string& path, const std::string& why) {
  return "cannot read picture \"" + path + "\": " + why;
}

// Closes the picture file on every way out of the read.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }

 private:
  int fd_;
};

// The whole file in one read where the system allows: plain system calls, without a
// stream buffer that would copy every byte once more.
std::string ReadPictureFile(const std::string& path) {
  const ReadOnlyFile file(path);
  if (file.fd() < 0) throw RunTimeError(CannotRead(path, std::strerror(errno)));
  struct stat info {};
  if (::fstat(file.fd(), &info) != 0) throw RunTimeError(CannotRead(path, std::strerror(errno)));
  // Folders open fine for reading; their size says nothing.
  if (S_ISDIR(info.st_mode)) throw RunTimeError(CannotRead(path, std::strerror(EISDIR)));
  const off_t size = ::lseek(file.fd(), 0, SEEK_END);
  if (size < 0) throw RunTimeError(CannotRead(path, "not a file"));
  if (size > kLargestPictureFile) throw RunTimeError(CannotRead(path, "file too large"));
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t count =
        ::pread(file.fd(), &bytes[got], bytes.size() - got, static_cast<off_t>(got));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) throw RunTimeError(CannotRead(path, "read failed"));
    got += static_cast<std::size_t>(count);
  }
  return bytes;
}

// The loader's hint for formats it cannot recognise by content alone (TGA).
std::string Extension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot + 1);
}

SDL_Surface* Decode(const std::string& bytes, const std::string& type) {
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  return stream ? IMG_LoadTyped_RW(stream, 1, type.c_str()) : nullptr;
}

SDL_Surface* DecodePicture(const std::string& bytes, const std::string& path) {
  if (!LooksLikeIcon(bytes)) {
    RefuseUnsafeFormat(bytes, path);
    RefuseOversizedPicture(bytes, path);
    return Decode(bytes, Extension(path));
  }
  const IconImage image = SelectIconImage(bytes, path);
  RefuseOversizedIconImage(image, path);
  return Decode(image.file, image.isPng ? "PNG" : "ICO");
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// The libraries' own complaints go into the report; a good picture's warnings still show.
Surface DecodeReported(const std::string& bytes, const std::string& path) {
  StderrCapture capture;
  Surface decoded;
  {
    const DecodeMemoryCap cap;
    decoded.reset(DecodePicture(bytes, path));
  }
  const std::string printed = capture.Finish();
  if (decoded) {
    std::fwrite(printed.data(), 1, printed.size(), stderr);
    return decoded;
  }
  std::string why = SDL_GetError();
  if (why.empty()) why = "the loader gave no reason";
  if (!printed.empty()) why += " (" + FirstLine(printed) + ")";
  throw RunTimeError(CannotRead(path, why));
}

}  // namespace

SdlHost::SdlHost(std::vector<std::string> arguments, Presentation& presentation)
    : arguments_(std::move(arguments)), presentation_(presentation) {
  // A file-size limit must fail the write with an error, not kill the process.
  signal(SIGXFSZ, SIG_IGN);
  // A closed pipe on standard output must fail the write with a report, not kill the
  // process between two pictures with no word said.
  signal(SIGPIPE, SIG_IGN);
}

std::optional<std::string> SdlHost::Command() { return QuoteArguments(arguments_); }

void SdlHost::MsgBox(const std::string& text, MessageKind kind) { presentation_.Show(text, kind); }

std::string SdlHost::AppPath() { return ExecutableFolder(); }

std::unique_ptr<FileSystem> SdlHost::CreateFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

void SdlHost::PreparePictureSurface() {
  width_ = height_ = 0;
  pixels_.clear();
}

void SdlHost::LoadPicture(const std::string& path) {
  const std::string bytes = ReadPictureFile(path);
  const Surface decoded = DecodeReported(bytes, path);
  // A picture the size check could not read may still decode huge; the conversion
  // to ARGB would take four bytes a pixel more.
  CheckPictureLimits(path, decoded->w, decoded->h);
  // Some readers (XCF) hand over a picture 0 pixels wide or high; no header holds one.
  if (decoded->w <= 0 || decoded->h <= 0)
    throw RunTimeError(CannotRead(path, "the picture has no pixels"));
  Surface argb(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!argb) throw RunTimeError(CannotRead(path, SDL_GetError()));

  width_ = argb->w;
  height_ = argb->h;
  pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
  for (int y = 0; y < height_; ++y) {
    const auto* row =
        static_cast<const char*>(argb->pixels) + static_cast<std::ptrdiff_t>(y) * argb->pitch;
    std::memcpy(&pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)], row,
                static_cast<std::size_t>(width_) * sizeof(std::uint32_t));
  }
}

double SdlHost::ScaleWidth() const { return width_; }

double SdlHost::ScaleHeight() const { return height_; }

void SdlHost::Refresh() {}  // pixels are readable as soon as they are loaded

std::uint32_t SdlHost::Point(double x, double y) const {
  const int column = static_cast<int>(x);
  const int row = static_cast<int>(y);
  if (column < 0 || row < 0 || column >= width_ || row >= height_)
    throw RunTimeError("pixel (" + std::to_string(column) + ", " + std::to_string(row) +
                       ") lies outside the picture");
  const std::uint32_t argb =
      pixels_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
              static_cast<std::size_t>(column)];
  return argb >> 24 == 0xFF ? argb & 0xFFFFFF : 0xFFFFFF;
}

void SdlHost::WriteTextFile(const std::string& path, const std::string& text) {
  WriteFileAtomically(path, text);
}

}  // namespace quillbit
