// WebP through libwebp; of an animation, the first frame on its canvas.
#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>

#include "host/cannot_read_picture.h"
#include "host/picture/format_readers.h"

namespace quillbit {

namespace {

[[noreturn]] void Broken(const std::string& path, const std::string& why) {
  throw CannotReadPicture(path, "broken WebP file (" + why + ")");
}

// BGRA bytes, one 0xAARRGGBB word for each pixel whatever the machine's byte order.
void StoreBgra(const std::uint8_t* bgra, Picture& picture) {
  for (std::size_t i = 0; i < picture.argb.size(); ++i, bgra += 4)
    picture.argb[i] = static_cast<std::uint32_t>(bgra[3]) << 24 |
                      static_cast<std::uint32_t>(bgra[2]) << 16 |
                      static_cast<std::uint32_t>(bgra[1]) << 8 | bgra[0];
}

void ReadFirstFrame(const WebPData& data, Picture& picture, const std::string& path) {
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) Broken(path, "library version mismatch");
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  if (!decoder) Broken(path, "bad animation");
  std::uint8_t* frame = nullptr;
  int timestamp = 0;
  const bool read = WebPAnimDecoderGetNext(decoder, &frame, &timestamp);
  if (read) StoreBgra(frame, picture);
  WebPAnimDecoderDelete(decoder);
  if (!read) Broken(path, "bad first frame");
}

}  // namespace

Picture ReadWebp(const std::string& bytes, const std::string& path) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  WebPBitstreamFeatures features;
  if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK) Broken(path, "bad header");
  Picture picture = SizedPicture(path, features.width, features.height);
  if (features.has_animation) {
    ReadFirstFrame({data, bytes.size()}, picture, path);
    return picture;
  }
  std::vector<std::uint8_t> bgra(picture.argb.size() * 4);
  if (!WebPDecodeBGRAInto(data, bytes.size(), bgra.data(), bgra.size(), picture.width * 4))
    Broken(path, "bad picture data");
  StoreBgra(bgra.data(), picture);
  return picture;
}

}  // namespace quillbit
