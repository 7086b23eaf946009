#include "host/picture/stb_reader.h"

#include <stb_image.h>

#include <cstdlib>

#include "host/common/picture_file.h"
#include "host/picture/format_readers.h"

namespace quillbit {

namespace {

[[noreturn]] void Broken(std::string_view format, const char* reason) {
  throw PictureFault("broken " + std::string(format) + " file (" +
                     (reason ? reason : "no reason given") + ")");
}

const stbi_uc* Data(const std::string& bytes) {
  return reinterpret_cast<const stbi_uc*>(bytes.data());
}

}  // namespace

Picture StbSizedPicture(const std::string& bytes, std::string_view format) {
  int width = 0;
  int height = 0;
  int channels = 0;
  if (!stbi_info_from_memory(Data(bytes), static_cast<int>(bytes.size()), &width, &height,
                             &channels))
    Broken(format, stbi_failure_reason());
  return SizedPicture(width, std::abs(height));  // a top-down BMP gives its height negative
}

StbSamples::StbSamples(const std::string& bytes, std::string_view format, const Picture& picture,
                       bool sixteenBits) {
  int width = 0;
  int height = 0;
  const int size = static_cast<int>(bytes.size());
  data_ = sixteenBits ? reinterpret_cast<std::uint8_t*>(stbi_load_16_from_memory(
                            Data(bytes), size, &width, &height, &channels_, 0))
                      : stbi_load_from_memory(Data(bytes), size, &width, &height, &channels_, 0);
  if (!data_) Broken(format, stbi_failure_reason());
  if (width != picture.width || height != picture.height || channels_ < 1 || channels_ > 4)
    Broken(format, "its size changed while reading");
}

StbSamples::~StbSamples() { stbi_image_free(data_); }

std::uint32_t ArgbFromSamples(const std::uint8_t* sample, int channels) {
  const std::uint32_t red = sample[0];
  const std::uint32_t green = channels >= 3 ? sample[1] : red;
  const std::uint32_t blue = channels >= 3 ? sample[2] : red;
  const std::uint32_t alpha = channels == 2 ? sample[1] : channels == 4 ? sample[3] : 0xFF;
  return alpha << 24 | red << 16 | green << 8 | blue;
}

// Asking stb_image for four channels instead breaks its 16-bit PNM.
void FillFromSamples(const StbSamples& samples, Picture& picture) {
  const std::uint8_t* sample = samples.data();
  for (std::uint32_t& word : picture.argb) {
    word = ArgbFromSamples(sample, samples.channels());
    sample += samples.channels();
  }
}

}  // namespace quillbit
