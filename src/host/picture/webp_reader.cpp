// WebP through libwebp; of an animation, the first frame on its canvas.
#include <webp/decode.h>
#include <webp/demux.h>

#include "host/common/argb.h"
#include "host/picture/format_readers.h"
#include "host/picture/picture_libraries.h"

namespace quillbit {

namespace {

[[noreturn]] void Broken(const std::string& why) {
  throw PictureFault("broken WebP file (" + why + ")");
}

void StoreBgra(const std::uint8_t* bgra, Picture& picture) {
  for (std::uint32_t& pixel : picture.argb) {
    pixel = ArgbFromBgra(bgra);
    bgra += 4;
  }
}

void ReadFirstFrame(const Libwebp& webp, const WebPData& data, Picture& picture) {
  WebPAnimDecoderOptions options;
  if (!webp.WebPAnimDecoderOptionsInitInternal(&options, WEBP_DEMUX_ABI_VERSION))
    Broken("library version mismatch");
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  WebPAnimDecoder* decoder =
      webp.WebPAnimDecoderNewInternal(&data, &options, WEBP_DEMUX_ABI_VERSION);
  if (!decoder) Broken("bad animation");
  std::uint8_t* frame = nullptr;
  int timestamp = 0;
  const bool read = webp.WebPAnimDecoderGetNext(decoder, &frame, &timestamp);
  if (read) StoreBgra(frame, picture);
  webp.WebPAnimDecoderDelete(decoder);
  if (!read) Broken("bad first frame");
}

}  // namespace

Picture ReadWebp(const std::string& bytes) {
  const Libwebp& webp = LibwebpFunctions();
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  WebPBitstreamFeatures features;
  if (webp.WebPGetFeaturesInternal(data, bytes.size(), &features, WEBP_DECODER_ABI_VERSION) !=
      VP8_STATUS_OK)
    Broken("bad header");
  Picture picture = SizedPicture(features.width, features.height);
  if (features.has_animation) {
    ReadFirstFrame(webp, {data, bytes.size()}, picture);
    return picture;
  }
  std::vector<std::uint8_t> bgra(picture.argb.size() * 4);
  if (!webp.WebPDecodeBGRAInto(data, bytes.size(), bgra.data(), bgra.size(), picture.width * 4))
    Broken("bad picture data");
  StoreBgra(bgra.data(), picture);
  return picture;
}

}  // namespace quillbit
