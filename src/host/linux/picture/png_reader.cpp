// PNG through libpng: every colour type and depth expanded to 8-bit samples in the
// byte order that makes each pixel one 0xAARRGGBB word.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "host/common/cannot_read_picture.h"
#include "host/linux/picture/format_readers.h"

namespace quillbit {

namespace {

struct PngInput {
  const std::string& bytes;
  std::size_t at = 8;  // past the signature, which the format check has seen
  std::string error;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
  auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
  if (count > input->bytes.size() - input->at) png_error(png, "file cut short");
  std::memcpy(out, input->bytes.data() + input->at, count);
  input->at += count;
}

void KeepError(png_structp png, png_const_charp message) {
  static_cast<PngInput*>(png_get_error_ptr(png))->error = message;
  png_longjmp(png, 1);
}

// A picture that decodes is good whatever libpng remarked on the way (a short iCCP
// profile, a full chunk cache); a run that succeeds prints nothing on standard error.
void IgnoreWarning(png_structp, png_const_charp) {}

// Ancillary chunks that only cost time and memory here: text, profiles, metadata.
// tRNS, PLTE and the image data are all the conversion needs.
const png_byte kIgnoredChunks[] =
    "iCCP\0"
    "iTXt\0"
    "tEXt\0"
    "zTXt\0"
    "sPLT\0"
    "eXIf\0"
    "tIME\0"
    "pHYs\0"
    "hIST\0"
    "sBIT\0"
    "bKGD\0"
    "gAMA\0"
    "cHRM\0"
    "sRGB\0"
    "oFFs\0"
    "pCAL\0"
    "sCAL\0"
    "sTER\0";

// The transformations that turn any PNG into rows of 0xAARRGGBB words.
void ExpandToArgbWords(png_structp png, png_infop info) {
  png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  png_set_bgr(png);  // B G R A in memory
  const int fillerAt = PNG_FILLER_AFTER;
#else
  png_set_swap_alpha(png);  // A R G B in memory
  const int fillerAt = PNG_FILLER_BEFORE;
#endif
  if (!(png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) &&
      !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_filler(png, 0xFF, fillerAt);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

class PngReader {
 public:
  PngReader(const std::string& bytes, const std::string& path) : input_{bytes, 8, {}}, path_(path) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input_, KeepError, IgnoreWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!info_) throw CannotReadPicture(path, "out of memory");
    png_set_read_fn(png_, &input_, ReadBytes);
    png_set_sig_bytes(png_, 8);
    png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks,
                                static_cast<int>(sizeof kIgnoredChunks / 5));
    png_set_user_limits(png_, PNG_UINT_31_MAX, PNG_UINT_31_MAX);  // the limits are ours
  }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }

  // Reads up to the last row and no further: compressed data after it, however much,
  // is never inflated.
  // The picture and its row pointers are members, not locals, so they keep their
  // values across libpng's longjmp.
  Picture Read() {
    if (setjmp(png_jmpbuf(png_)))
      throw CannotReadPicture(path_, "broken PNG file (" + input_.error + ")");
    png_read_info(png_, info_);
    picture_ =
        SizedPicture(path_, png_get_image_width(png_, info_), png_get_image_height(png_, info_));
    ExpandToArgbWords(png_, info_);
    const auto width = static_cast<std::size_t>(picture_.width);
    for (std::size_t y = 0; y < static_cast<std::size_t>(picture_.height); ++y)
      rows_.push_back(reinterpret_cast<png_bytep>(&picture_.argb[y * width]));
    png_read_image(png_, rows_.data());
    return std::move(picture_);
  }

 private:
  PngInput input_;
  const std::string& path_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  Picture picture_;
  std::vector<png_bytep> rows_;
};

}  // namespace

Picture ReadPng(const std::string& bytes, const std::string& path) {
  return PngReader(bytes, path).Read();
}

}  // namespace quillbit
