#include "host/windows/win_picture.h"

#include <climits>

#include "host/common/cannot_read_picture.h"
#include "host/common/icon_selection.h"
#include "host/run_end.h"
#include "host/windows/win_error.h"
#include "host/windows/win_text.h"

namespace quillbit {

namespace {

// Far more than any picture of at most 32767 pixels needs, even with metadata;
// keeps a stray huge file from being read into memory.
constexpr LONGLONG kLargestPictureFile = 64 << 20;

// The report's prefix for the calls whose reason Windows words itself.
std::string CannotRead(const std::string& path) { return "cannot read picture \"" + path + "\""; }

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::string ReadPictureFile(const std::string& path) {
  const std::string what = CannotRead(path);
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw CannotReadPicture(path, "not a file");
  FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) FailWithLastError(what);
  if (GetFileType(file.get()) != FILE_TYPE_DISK)  // a device or pipe: nothing to wait for
    throw CannotReadPicture(path, "it is not a regular file");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) FailWithLastError(what);
  if (size.QuadPart > kLargestPictureFile) throw CannotReadPicture(path, "file too large");
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
    FailWithLastError(what);
  if (got != bytes.size()) throw CannotReadPicture(path, "read failed");
  return bytes;
}

// WIC's icon decoder offers the images in directory order; the converter takes the
// largest, as on every platform, so that image alone goes to the decoder.
std::string PictureToDecode(std::string bytes, const std::string& path) {
  if (!LooksLikeIcon(bytes)) return bytes;
  return SelectIconImage(bytes, path).file;
}

}  // namespace

WicPicture::WicPicture() {
  CheckResult(
      CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                       IID_IWICImagingFactory, reinterpret_cast<void**>(factory_.Receive())),
      "cannot start the Windows imaging component");
}

void WicPicture::Open(const std::string& path) {
  converted_.Reset();
  stream_.Reset();
  width_ = height_ = 0;
  path_ = path;
  bytes_ = PictureToDecode(ReadPictureFile(path), path);
  Decode(path);
}

void WicPicture::Decode(const std::string& path) {
  const std::string what = CannotRead(path);
  CheckResult(factory_->CreateStream(stream_.Receive()), what);
  CheckResult(stream_->InitializeFromMemory(reinterpret_cast<BYTE*>(bytes_.data()),
                                            static_cast<DWORD>(bytes_.size())),
              what);
  ComRef<IWICBitmapDecoder> decoder;
  CheckResult(factory_->CreateDecoderFromStream(stream_.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.Receive()),
              what);
  ComRef<IWICBitmapFrameDecode> frame;
  CheckResult(decoder->GetFrame(0, frame.Receive()), what);
  CheckResult(factory_->CreateFormatConverter(converted_.Receive()), what);
  CheckResult(
      converted_->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                             nullptr, 0.0, WICBitmapPaletteTypeCustom),
      what);
  UINT width = 0;
  UINT height = 0;
  CheckResult(converted_->GetSize(&width, &height), what);
  width_ = width;
  height_ = height;
}

std::vector<std::uint32_t> WicPicture::ReadPixels() const {
  const std::string what = CannotRead(path_);
  if (!converted_) throw CannotReadPicture(path_, "no picture is open");
  if (width_ != 0 && height_ > UINT_MAX / 4 / width_)
    throw CannotReadPicture(path_, "picture too large");
  const UINT stride = width_ * 4;
  std::vector<BYTE> bgra(static_cast<std::size_t>(stride) * height_);
  if (bgra.empty()) return {};
  CheckResult(converted_->CopyPixels(nullptr, stride, static_cast<UINT>(bgra.size()), bgra.data()),
              what);
  std::vector<std::uint32_t> pixels(bgra.size() / 4);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const BYTE* p = &bgra[i * 4];
    pixels[i] = static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[2]) << 16 |
                static_cast<std::uint32_t>(p[1]) << 8 | p[0];
  }
  return pixels;
}

}  // namespace quillbit
