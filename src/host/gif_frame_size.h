// The size of the first frame of a GIF file, read by giflib without decoding it.
// The loader decodes that frame at its own size, which a file may set far beyond
// the screen size in its header.
#pragma once

#include <optional>
#include <string>

namespace quillbit {

struct GifFrameSize {
  int width;
  int height;
};

// True when bytes start with a GIF signature, as the loader takes it.
bool LooksLikeGif(const std::string& bytes);

// Width and height of the first frame; nullopt, with giflib's reason in why, when
// giflib cannot reach it.
std::optional<GifFrameSize> ReadGifFrameSize(const std::string& bytes, std::string& why);

}  // namespace quillbit
