// WebP through libwebp; of an animation, the first frame on its canvas.
#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <stdexcept>

#include "host/common/cannot_read_picture.h"
#include "host/linux/picture/format_readers.h"
#include "host/linux/picture/loaded_library.h"

namespace quillbit {

namespace {

// The libwebp functions this reader calls, from the libraries loaded on first use. The
// header's inline wrappers call the *Internal functions with the version they were
// built with, as done here.
struct Libwebp {
  Libwebp(const LoadedLibrary& decode, const LoadedLibrary& demux)
      : QUILLBIT_LOADED(decode, WebPGetFeaturesInternal),
        QUILLBIT_LOADED(decode, WebPDecodeBGRAInto),
        QUILLBIT_LOADED(demux, WebPAnimDecoderOptionsInitInternal),
        QUILLBIT_LOADED(demux, WebPAnimDecoderNewInternal),
        QUILLBIT_LOADED(demux, WebPAnimDecoderGetNext),
        QUILLBIT_LOADED(demux, WebPAnimDecoderDelete) {}
  decltype(&::WebPGetFeaturesInternal) WebPGetFeaturesInternal;
  decltype(&::WebPDecodeBGRAInto) WebPDecodeBGRAInto;
  decltype(&::WebPAnimDecoderOptionsInitInternal) WebPAnimDecoderOptionsInitInternal;
  decltype(&::WebPAnimDecoderNewInternal) WebPAnimDecoderNewInternal;
  decltype(&::WebPAnimDecoderGetNext) WebPAnimDecoderGetNext;
  decltype(&::WebPAnimDecoderDelete) WebPAnimDecoderDelete;
};

const Libwebp& LoadLibwebp(const std::string& path) {
  try {
    static const LoadedLibrary decode(QUILLBIT_LIBWEBP);
    static const LoadedLibrary demux(QUILLBIT_LIBWEBPDEMUX);
    static const Libwebp api(decode, demux);
    return api;
  } catch (const std::runtime_error& error) {
    throw CannotReadPicture(path, std::string("WebP pictures need " QUILLBIT_LIBWEBP
                                              " and " QUILLBIT_LIBWEBPDEMUX ": ") +
                                      error.what());
  }
}

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

void ReadFirstFrame(const Libwebp& webp, const WebPData& data, Picture& picture,
                    const std::string& path) {
  WebPAnimDecoderOptions options;
  if (!webp.WebPAnimDecoderOptionsInitInternal(&options, WEBP_DEMUX_ABI_VERSION))
    Broken(path, "library version mismatch");
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  WebPAnimDecoder* decoder =
      webp.WebPAnimDecoderNewInternal(&data, &options, WEBP_DEMUX_ABI_VERSION);
  if (!decoder) Broken(path, "bad animation");
  std::uint8_t* frame = nullptr;
  int timestamp = 0;
  const bool read = webp.WebPAnimDecoderGetNext(decoder, &frame, &timestamp);
  if (read) StoreBgra(frame, picture);
  webp.WebPAnimDecoderDelete(decoder);
  if (!read) Broken(path, "bad first frame");
}

}  // namespace

Picture ReadWebp(const std::string& bytes, const std::string& path) {
  const Libwebp& webp = LoadLibwebp(path);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  WebPBitstreamFeatures features;
  if (webp.WebPGetFeaturesInternal(data, bytes.size(), &features, WEBP_DECODER_ABI_VERSION) !=
      VP8_STATUS_OK)
    Broken(path, "bad header");
  Picture picture = SizedPicture(path, features.width, features.height);
  if (features.has_animation) {
    ReadFirstFrame(webp, {data, bytes.size()}, picture, path);
    return picture;
  }
  std::vector<std::uint8_t> bgra(picture.argb.size() * 4);
  if (!webp.WebPDecodeBGRAInto(data, bytes.size(), bgra.data(), bgra.size(), picture.width * 4))
    Broken(path, "bad picture data");
  StoreBgra(bgra.data(), picture);
  return picture;
}

}  // namespace quillbit
