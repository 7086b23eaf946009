// TIFF through libtiff: the first directory, through its RGBA interface, which reads
// every photometric kind and compression this build of libtiff knows.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/picture/format_readers.h"
#include "host/picture/picture_libraries.h"
#include "host/picture/samples.h"

namespace quillbit {

namespace {

// No single allocation of a picture within the limits comes near this; a file whose
// strips claim more is broken.
constexpr tmsize_t kLargestAllocation = 64 << 20;

struct TiffInput {
  const std::string& bytes;
  toff_t at = 0;
  std::string error;
};

TiffInput& Input(thandle_t handle) { return *static_cast<TiffInput*>(handle); }

tmsize_t ReadProc(thandle_t handle, void* out, tmsize_t count) {
  TiffInput& input = Input(handle);
  const toff_t size = input.bytes.size();
  const toff_t left = input.at < size ? size - input.at : 0;
  const toff_t given = count < 0 ? 0 : std::min<toff_t>(static_cast<toff_t>(count), left);
  // Something is given only from within the bytes, so both fit a size_t, also where it has
  // 32 bits (WebAssembly); a seek past the end gives nothing and touches nothing.
  if (given > 0) {
    std::memcpy(out, input.bytes.data() + static_cast<std::size_t>(input.at),
                static_cast<std::size_t>(given));
  }
  input.at += given;
  return static_cast<tmsize_t>(given);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return -1; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  TiffInput& input = Input(handle);
  const toff_t base = whence == SEEK_CUR ? input.at : whence == SEEK_END ? input.bytes.size() : 0;
  input.at = base + offset;
  return input.at;
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t handle) { return Input(handle).bytes.size(); }

// The bytes are in memory already; libtiff reads them in place.
int MapProc(thandle_t handle, void** base, toff_t* size) {
  *base = const_cast<char*>(Input(handle).bytes.data());
  *size = Input(handle).bytes.size();
  return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

// The first error is the one that says what went wrong.
int KeepError(TIFF*, void* data, const char*, const char* format, va_list arguments) {
  auto* input = static_cast<TiffInput*>(data);
  if (!input->error.empty()) return 1;
  char text[256];
  std::vsnprintf(text, sizeof text, format, arguments);
  input->error = text;
  return 1;
}

// Unknown tags and the like; a picture that decodes is good.
int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// libtiff's words hold red in the low byte.
std::uint32_t FromAbgr(std::uint32_t pixel) {
  return (pixel & 0xFF00FF00u) | (pixel & 0xFFu) << 16 | (pixel >> 16 & 0xFFu);
}

class TiffReader {
 public:
  explicit TiffReader(const std::string& bytes)
      : libtiff_(LibtiffFunctions()), input_{bytes, 0, {}} {
    TIFFOpenOptions* options = libtiff_.TIFFOpenOptionsAlloc();
    libtiff_.TIFFOpenOptionsSetMaxSingleMemAlloc(options, kLargestAllocation);
    libtiff_.TIFFOpenOptionsSetErrorHandlerExtR(options, KeepError, &input_);
    libtiff_.TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
    file_ = libtiff_.TIFFClientOpenExt("picture", "r", &input_, ReadProc, WriteProc, SeekProc,
                                       CloseProc, SizeProc, MapProc, UnmapProc, options);
    libtiff_.TIFFOpenOptionsFree(options);
    if (!file_) Broken();
  }
  TiffReader(const TiffReader&) = delete;
  TiffReader& operator=(const TiffReader&) = delete;
  ~TiffReader() { libtiff_.TIFFClose(file_); }

  Picture Read() {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!libtiff_.TIFFGetField(file_, TIFFTAG_IMAGEWIDTH, &width) ||
        !libtiff_.TIFFGetField(file_, TIFFTAG_IMAGELENGTH, &height))
      Broken();
    Picture picture = SizedPicture(width, height);
    char why[1024] = "";
    TIFFRGBAImage image{};
    if (!libtiff_.TIFFRGBAImageOK(file_, why) ||
        !libtiff_.TIFFRGBAImageBegin(&image, file_, 1, why)) {
      input_.error = why;
      Broken();
    }
    image.req_orientation = ORIENTATION_TOPLEFT;
    KeepHighBytes(image);
    const int read = libtiff_.TIFFRGBAImageGet(&image, picture.argb.data(), width, height);
    libtiff_.TIFFRGBAImageEnd(&image);
    if (!read) Broken();
    for (std::uint32_t& pixel : picture.argb) pixel = FromAbgr(pixel);
    return picture;
  }

 private:
  // libtiff rounds 16-bit colour samples to 8 bits through this table (its 16-bit grey
  // already keeps the high byte); the table is refilled with quillbit's 16-bit rule.
  static void KeepHighBytes(TIFFRGBAImage& image) {
    if (!image.Bitdepth16To8) return;
    for (std::uint32_t sample = 0; sample <= 0xFFFF; ++sample)
      image.Bitdepth16To8[sample] = EightBitSample(static_cast<std::uint16_t>(sample));
  }

  [[noreturn]] void Broken() const {
    throw PictureFault("broken TIFF file (" +
                       (input_.error.empty() ? "no reason given" : input_.error) + ")");
  }

  const Libtiff& libtiff_;
  TiffInput input_;
  TIFF* file_ = nullptr;
};

}  // namespace

Picture ReadTiff(const std::string& bytes) { return TiffReader(bytes).Read(); }

}  // namespace quillbit
