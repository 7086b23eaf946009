// stb_image, which reads BMP (after bmp_reader.cpp has put it in the one form stb_image
// reads right), TGA and PNM.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/picture/picture.h"

namespace quillbit {

// A picture of the size stb_image reads from the header of bytes, a file of format ("BMP",
// "TGA", "PNM"), before any pixel is decoded.
Picture StbSizedPicture(const std::string& bytes, std::string_view format);

// The samples of bytes as stb_image gives them, in the file's own channels (grey, grey
// and alpha, RGB, RGBA), 1 or 2 bytes each; the size must be picture's.
class StbSamples {
 public:
  StbSamples(const std::string& bytes, std::string_view format, const Picture& picture,
             bool sixteenBits);
  StbSamples(const StbSamples&) = delete;
  StbSamples& operator=(const StbSamples&) = delete;
  ~StbSamples();

  int channels() const { return channels_; }
  const std::uint8_t* data() const { return data_; }

 private:
  std::uint8_t* data_ = nullptr;
  int channels_ = 0;
};

// The word of a pixel whose 8-bit samples are in channels.
std::uint32_t ArgbFromSamples(const std::uint8_t* sample, int channels);

// Every pixel of picture from 8-bit samples.
void FillFromSamples(const StbSamples& samples, Picture& picture);

}  // namespace quillbit
