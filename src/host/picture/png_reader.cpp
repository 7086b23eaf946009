// PNG through libpng: every colour type and depth expanded to 8-bit samples in the
// byte order that makes each pixel one 0xAARRGGBB word.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <exception>
#include <string_view>

#include "host/picture/format_readers.h"
#include "host/picture/samples.h"

namespace quillbit {

namespace {

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

// The last transformation of a 16-bit picture: each sample, big-endian after the others,
// to 8 bits by the 16-bit rule. libpng takes the row's new depth from
// png_set_user_transform_info.
void KeepHighBytes(png_structp, png_row_infop row, png_bytep data) {
  const std::size_t samples = static_cast<std::size_t>(row->width) * row->channels;
  for (std::size_t i = 0; i < samples; ++i)
    data[i] = EightBitSample(static_cast<std::uint16_t>(data[2 * i] << 8 | data[2 * i + 1]));
}

// The transformations that turn any PNG into rows of 0xAARRGGBB words.
void ExpandToArgbWords(png_structp png, png_infop info) {
  png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
  if (png_get_bit_depth(png, info) == 16) {
    png_set_read_user_transform_fn(png, KeepHighBytes);
    png_set_user_transform_info(png, nullptr, 8, 4);
  }
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
    png_set_filler(png, 0xFFFF, fillerAt);  // opaque at either depth
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// libpng takes about 100 ns for a chunk whatever it holds, so a file of nothing but
// millions of empty chunks would cost half a second. Ancillary chunks are few in any real
// file (libpng keeps no more than 1000 either); image data, even the largest picture's
// in one-byte pieces, comes in some 300,000 chunks.
constexpr int kMostAncillaryChunks = 1000;
constexpr int kMostChunks = 1 << 20;

std::uint32_t BigEndianAt(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

// Why the chunks up to the end of the image data are too many to read, or nothing. The
// walk ends where libpng's reading ends at the latest, and at a chunk cut short, which
// libpng reports itself.
std::string TooManyChunks(const std::string& bytes) {
  int chunks = 0;
  int ancillary = 0;
  bool inImageData = false;
  for (std::size_t at = 8; at + 8 <= bytes.size();) {
    const std::string_view type(&bytes[at + 4], 4);
    if (type == "IEND" || (inImageData && type != "IDAT")) break;
    inImageData = type == "IDAT";
    if (++chunks > kMostChunks) return "more than 1048576 chunks";
    if ((type[0] & 0x20) != 0 && ++ancillary > kMostAncillaryChunks)
      return "more than 1000 ancillary chunks";
    const std::uint32_t length = BigEndianAt(bytes, at);
    if (length > bytes.size() - at - 8) break;
    at += std::size_t{12} + length;
  }
  return "";
}

// The file is handed to libpng's progressive reader in pieces of this size, and no
// more is handed over once the last row is in: compressed data after it, however
// much, is never inflated.
constexpr std::size_t kPieceSize = std::size_t{64} * 1024;

class PngReader {
 public:
  explicit PngReader(const std::string& bytes) : bytes_(bytes) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, KeepError, IgnoreWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!info_) throw PictureFault("out of memory");
    png_set_progressive_read_fn(png_, this, HaveInfo, HaveRow, nullptr);
    png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks,
                                static_cast<int>(sizeof kIgnoredChunks / 5));
    png_set_user_limits(png_, PNG_UINT_31_MAX, PNG_UINT_31_MAX);  // the limits are ours
  }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }

  // The picture and the read position are members, not locals, so they keep their
  // values across libpng's longjmp.
  Picture Read() {
    if (setjmp(png_jmpbuf(png_))) {
      // Once the last row is in, what follows it in the same piece cannot spoil it.
      if (complete_) return std::move(picture_);
      if (refusal_) std::rethrow_exception(refusal_);
      throw PictureFault("broken PNG file (" + error_ + ")");
    }
    while (!complete_ && at_ < bytes_.size()) {
      const std::size_t piece = std::min(kPieceSize, bytes_.size() - at_);
      auto* data = reinterpret_cast<png_bytep>(const_cast<char*>(bytes_.data() + at_));
      at_ += piece;
      png_process_data(png_, info_, data, piece);
    }
    if (!complete_) throw PictureFault("broken PNG file (file cut short)");
    return std::move(picture_);
  }

 private:
  static PngReader& Of(png_structp png) {
    return *static_cast<PngReader*>(png_get_progressive_ptr(png));
  }

  static void KeepError(png_structp png, png_const_charp message) {
    static_cast<PngReader*>(png_get_error_ptr(png))->error_ = message;
    png_longjmp(png, 1);
  }

  // A size over the limits is refused before a row is inflated; the report is kept
  // and thrown once libpng has been left.
  static void HaveInfo(png_structp png, png_infop info) {
    PngReader& reader = Of(png);
    try {
      reader.picture_ =
          SizedPicture(png_get_image_width(png, info), png_get_image_height(png, info));
    } catch (...) {
      reader.refusal_ = std::current_exception();
    }
    // Outside the handler: a longjmp must not leave a catch block.
    if (reader.refusal_) png_error(png, "size refused");
    reader.lastPass_ = png_get_interlace_type(png, info) == PNG_INTERLACE_NONE ? 0 : 6;
    ExpandToArgbWords(png, info);
  }

  // With interlace handling libpng offers every row in every pass, the last row of the
  // last pass last, even when that pass holds no pixel of a small picture.
  static void HaveRow(png_structp png, png_bytep row, png_uint_32 y, int pass) {
    PngReader& reader = Of(png);
    Picture& picture = reader.picture_;
    if (y >= static_cast<png_uint_32>(picture.height)) return;
    auto* target =
        reinterpret_cast<png_bytep>(&picture.argb[y * static_cast<std::size_t>(picture.width)]);
    png_progressive_combine_row(png, target, row);
    if (pass == reader.lastPass_ && y + 1 == static_cast<png_uint_32>(picture.height))
      reader.complete_ = true;
  }

  const std::string& bytes_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  std::size_t at_ = 0;
  int lastPass_ = 0;
  bool complete_ = false;
  std::exception_ptr refusal_;
  std::string error_;
  Picture picture_;
};

}  // namespace

Picture ReadPng(const std::string& bytes) {
  const std::string refusal = TooManyChunks(bytes);
  if (!refusal.empty()) throw PictureFault("PNG file with " + refusal + " before its image data");
  return PngReader(bytes).Read();
}

}  // namespace quillbit
