#include "host/gif_frame_size.h"

#include <gif_lib.h>

#include <cstring>

namespace quillbit {

namespace {

struct MemoryReader {
  const std::string* bytes;
  std::size_t at;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const std::size_t left = reader->bytes->size() - reader->at;
  const std::size_t wanted = count < 0 ? 0 : static_cast<std::size_t>(count);
  const std::size_t given = wanted < left ? wanted : left;
  std::memcpy(out, reader->bytes->data() + reader->at, given);
  reader->at += given;
  return static_cast<int>(given);
}

bool SkipExtension(GifFileType* gif) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
  while (block != nullptr)
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
  return true;
}

// Steps over extensions (comments, animation control) to the first image descriptor.
bool ReachFirstFrame(GifFileType* gif) {
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) != GIF_OK) return false;
    if (record == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_OK;
    if (record != EXTENSION_RECORD_TYPE || !SkipExtension(gif)) return false;
  }
}

// giflib has no text for 0, which is what it reports for a file that ends before any
// frame, and none for codes newer than itself.
std::string Reason(int error) {
  const char* text = GifErrorString(error);
  return text ? text : "no image before the end of the file";
}

}  // namespace

bool LooksLikeGif(const std::string& bytes) {
  return bytes.compare(0, 6, "GIF87a") == 0 || bytes.compare(0, 6, "GIF89a") == 0;
}

std::optional<GifFrameSize> ReadGifFrameSize(const std::string& bytes, std::string& why) {
  MemoryReader reader{&bytes, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
  if (!gif) {
    why = Reason(error);
    return std::nullopt;
  }
  std::optional<GifFrameSize> size;
  if (ReachFirstFrame(gif))
    size = GifFrameSize{gif->Image.Width, gif->Image.Height};
  else
    why = Reason(gif->Error);
  DGifCloseFile(gif, &error);
  return size;
}

}  // namespace quillbit
