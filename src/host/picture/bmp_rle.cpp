#include "host/picture/bmp_rle.h"

#include <algorithm>

#include "host/common/picture_file.h"

namespace quillbit {

namespace {

class RleExpander {
 public:
  RleExpander(std::string_view data, int width, int height, int bitsPerPixel)
      : data_(data),
        width_(static_cast<std::size_t>(width)),
        height_(static_cast<std::size_t>(height)),
        nibbles_(bitsPerPixel == 4),
        pixels_(width_ * height_, kSkippedPixel) {}

  std::vector<std::uint16_t> Expand() {
    while (y_ < height_) {
      const unsigned count = Next();
      const unsigned value = Next();
      if (count > 0) {
        Run(count, value);
      } else if (value == 0) {  // end of line
        x_ = 0;
        ++y_;
      } else if (value == 1) {  // end of picture
        break;
      } else if (value == 2) {  // delta: right and up
        x_ = std::min(width_, x_ + Next());
        y_ += Next();
      } else {
        Literal(value);
      }
    }
    return std::move(pixels_);
  }

 private:
  unsigned Next() {
    if (at_ >= data_.size()) throw PictureFault("broken BMP file (RLE data cut short)");
    return static_cast<unsigned char>(data_[at_++]);
  }

  void Put(unsigned index) {
    if (x_ < width_) pixels_[y_ * width_ + x_++] = static_cast<std::uint16_t>(index);
  }

  // count pixels of value; in RLE4 its two nibbles take turns.
  void Run(unsigned count, unsigned value) {
    for (unsigned i = 0; i < count && x_ < width_; ++i)
      Put(nibbles_ ? (i % 2 ? value & 0xF : value >> 4) : value);
  }

  // count pixels stored one by one, padded to a whole number of 16-bit words.
  void Literal(unsigned count) {
    const std::size_t bytes = nibbles_ ? (count + 1) / 2 : count;
    unsigned byte = 0;
    for (unsigned i = 0; i < count; ++i) {
      if (!nibbles_ || i % 2 == 0) byte = Next();
      Put(nibbles_ ? (i % 2 ? byte & 0xF : byte >> 4) : byte);
    }
    if (bytes % 2) Next();
  }

  std::string_view data_;
  std::size_t width_;
  std::size_t height_;
  bool nibbles_;
  std::vector<std::uint16_t> pixels_;
  std::size_t at_ = 0;
  std::size_t x_ = 0;
  std::size_t y_ = 0;
};

}  // namespace

std::vector<std::uint16_t> ExpandBmpRle(std::string_view data, int width, int height,
                                        int bitsPerPixel) {
  return RleExpander(data, width, height, bitsPerPixel).Expand();
}

}  // namespace quillbit
