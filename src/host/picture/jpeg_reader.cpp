// JPEG through libjpeg-turbo's libjpeg interface, which also reads CMYK and
// arithmetic-coded files.
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <csetjmp>

#include "analysis/picture_limits.h"
#include "host/common/argb.h"
#include "host/picture/format_readers.h"

namespace quillbit {

namespace {

// A progressive file may repeat scans without end, each a full pass over the picture;
// real encoders write a few dozen.
constexpr int kMostScans = 500;

struct ErrorTrap {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
  std::string message;
};

[[noreturn]] void Fail(j_common_ptr info) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  char text[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, text);
  trap->message = text;
  std::longjmp(trap->jump, 1);
}

// Warnings (stray bytes, a file cut short and padded) leave a picture that decodes;
// a run that succeeds prints nothing on standard error.
void KeepQuiet(j_common_ptr, int) {}

void LimitScans(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number <= kMostScans) return;
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  trap->message = "more than " + std::to_string(kMostScans) + " scans";
  std::longjmp(trap->jump, 1);
}

std::uint32_t Argb(unsigned red, unsigned green, unsigned blue) {
  return 0xFF000000u | red << 16 | green << 8 | blue;
}

// CMYK to RGB; Adobe's files store the inks inverted.
std::uint32_t FromCmyk(const JSAMPLE* ink, bool inverted) {
  auto level = [&](int i) {
    const unsigned c = inverted ? ink[i] : 255u - ink[i];
    const unsigned k = inverted ? ink[3] : 255u - ink[3];
    return (c * k + 127) / 255;
  };
  return Argb(level(0), level(1), level(2));
}

class JpegReader {
 public:
  explicit JpegReader(const std::string& bytes) : bytes_(bytes) {
    info_.err = jpeg_std_error(&trap_.manager);
    trap_.manager.error_exit = Fail;
    trap_.manager.emit_message = KeepQuiet;
    progress_.progress_monitor = LimitScans;
  }
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;
  ~JpegReader() {
    if (created_) jpeg_destroy_decompress(&info_);
  }

  // The state libjpeg's longjmp crosses is held in members, not locals.
  Picture Read() {
    if (setjmp(trap_.jump)) {
      // libjpeg refuses some sizes itself once it has read them; the limits say more.
      if (info_.image_width && info_.image_height &&
          !FitsPictureLimits(info_.image_width, info_.image_height))
        throw PictureTooLarge{info_.image_width, info_.image_height};
      throw PictureFault("broken JPEG file (" + trap_.message + ")");
    }
    jpeg_create_decompress(&info_);
    created_ = true;
    info_.progress = &progress_;
    jpeg_mem_src(&info_, reinterpret_cast<const unsigned char*>(bytes_.data()),
                 static_cast<unsigned long>(bytes_.size()));
    jpeg_read_header(&info_, TRUE);
    picture_ = SizedPicture(info_.image_width, info_.image_height);
    cmyk_ = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
    info_.out_color_space = cmyk_ ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&info_);
    row_.resize(static_cast<std::size_t>(info_.output_width) * 4);
    while (info_.output_scanline < info_.output_height) StoreRow(info_.output_scanline);
    return std::move(picture_);
  }

 private:
  void StoreRow(JDIMENSION y) {
    JSAMPROW rows[] = {row_.data()};
    jpeg_read_scanlines(&info_, rows, 1);
    std::uint32_t* out = &picture_.argb[static_cast<std::size_t>(y) * info_.output_width];
    for (std::size_t x = 0; x < info_.output_width; ++x) {
      const JSAMPLE* pixel = &row_[x * 4];
      out[x] = cmyk_ ? FromCmyk(pixel, info_.saw_Adobe_marker) : ArgbFromBgra(pixel);
    }
  }

  const std::string& bytes_;
  ErrorTrap trap_;
  jpeg_progress_mgr progress_{};
  jpeg_decompress_struct info_{};
  bool created_ = false;
  bool cmyk_ = false;
  Picture picture_;
  std::vector<JSAMPLE> row_;
};

}  // namespace

Picture ReadJpeg(const std::string& bytes) { return JpegReader(bytes).Read(); }

}  // namespace quillbit
