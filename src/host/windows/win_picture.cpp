#include "host/windows/win_picture.h"

#include <algorithm>
#include <climits>

#include "host/common/argb.h"
#include "host/common/cannot_read_picture.h"
#include "host/common/icon_selection.h"
#include "host/common/picture_file.h"
#include "host/run_end.h"
#include "host/windows/win_error.h"
#include "host/windows/win_text.h"

namespace quillbit {

namespace {

// The report's prefix for the calls whose reason Windows words itself.
std::string CannotRead(const std::string& path) { return "cannot read picture \"" + path + "\""; }

// The picture file, closed on every way out of the read.
class WinPictureFile : public PictureFile {
 public:
  explicit WinPictureFile(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      throw PictureFault("not a file");
    handle_ = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) Fail();
    // A device or pipe: nothing to wait for.
    if (GetFileType(handle_) != FILE_TYPE_DISK) throw PictureFault("it is not a regular file");
  }
  WinPictureFile(const WinPictureFile&) = delete;
  WinPictureFile& operator=(const WinPictureFile&) = delete;
  ~WinPictureFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  std::uint64_t Size() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size)) Fail();
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count) override {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD));
    if (!ReadFile(handle_, out, wanted, &got, &at) && GetLastError() != ERROR_HANDLE_EOF) Fail();
    return got;
  }

 private:
  [[noreturn]] static void Fail() { throw PictureFault(SystemErrorText(GetLastError())); }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// WIC's icon decoder offers the images in directory order; the converter takes the
// largest, as on every platform, so that image alone goes to the decoder.
std::string PictureToDecode(const std::string& path) {
  WinPictureFile file(path);
  std::string bytes = ReadPictureFile(file);
  if (!LooksLikeIcon(bytes)) return bytes;
  return SelectIconImage(bytes).file;
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
  try {
    bytes_ = PictureToDecode(path);
  } catch (const PictureFault& fault) {
    throw CannotReadPicture(path, fault.what());
  }
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
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = ArgbFromBgra(&bgra[i * 4]);
  return pixels;
}

}  // namespace quillbit
