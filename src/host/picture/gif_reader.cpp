// GIF through giflib: the first frame, at its own size, its transparent colour as
// background. Later frames are never read.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "host/common/report_texts.h"
#include "host/picture/format_readers.h"

namespace quillbit {

namespace {

struct MemoryReader {
  const std::string* bytes;
  std::size_t at;
  std::size_t end;  // where reading stops: the file's end, or the frame's most data
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const std::size_t left = reader->at < reader->end ? reader->end - reader->at : 0;
  const std::size_t wanted = count < 0 ? 0 : static_cast<std::size_t>(count);
  const std::size_t given = wanted < left ? wanted : left;
  std::memcpy(out, reader->bytes->data() + reader->at, given);
  reader->at += given;
  return static_cast<int>(given);
}

// giflib has no text for 0, which is what it reports for a file that ends before any
// frame, and none for codes newer than itself.
std::string Reason(int error) {
  const char* text = GifErrorString(error);
  return text ? text : "no image before the end of the file";
}

class GifReader {
 public:
  explicit GifReader(const std::string& bytes) : reader_{&bytes, 0, bytes.size()} {
    int error = 0;
    gif_ = DGifOpen(&reader_, ReadFromMemory, &error);
    if (!gif_) Broken(error);
  }
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;
  ~GifReader() {
    int error = 0;
    DGifCloseFile(gif_, &error);
  }

  Picture Read() {
    ReachFirstFrame();
    const GifImageDesc& frame = gif_->Image;
    Picture picture = SizedPicture(frame.Width, frame.Height);
    LimitFrameData(picture.argb.size());
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif_->SColorMap;
    if (!colours) throw PictureFault("broken GIF file (no colour table)");
    std::vector<GifPixelType> line(static_cast<std::size_t>(picture.width));
    for (const int y : RowOrder(picture.height, frame.Interlace)) {
      if (DGifGetLine(gif_, line.data(), picture.width) != GIF_OK) Broken(gif_->Error);
      std::uint32_t* row = &picture.argb[static_cast<std::size_t>(y) * line.size()];
      for (std::size_t x = 0; x < line.size(); ++x) row[x] = Colour(*colours, line[x]);
    }
    return picture;
  }

 private:
  [[noreturn]] static void Broken(int error) {
    throw PictureFault("broken GIF file (" + Reason(error) + ")");
  }

  // giflib reads LZW code sizes up to 8, one per bit of a colour index, and reports a
  // larger one as a failed read; a frame may start its codes wider, up to 11. The code size
  // follows the frame's descriptor (9 bytes from descriptorAt) and its colour table.
  void CheckCodeSize(std::size_t descriptorAt) const {
    const std::string& bytes = *reader_.bytes;
    if (gif_->Error != D_GIF_ERR_READ_FAILED || descriptorAt + 9 > bytes.size()) return;
    const auto flags = static_cast<unsigned char>(bytes[descriptorAt + 8]);
    const std::size_t table = flags & 0x80 ? 3u << ((flags & 7) + 1) : 0;
    const std::size_t codeSizeAt = descriptorAt + 9 + table;
    if (reader_.at != codeSizeAt + 1) return;
    const auto size = static_cast<unsigned char>(bytes[codeSizeAt]);
    if (size > 8 && size <= 11)
      throw PictureFault(report_text::RefusedFormat(
          "GIF with an LZW code size of " + std::to_string(size), "giflib reads sizes up to 8"));
  }

  // A frame's codes take at most 12 bits a pixel, with a clear code every 4096 codes
  // and a length byte every 255: two bytes a pixel is more than any encoder writes. A
  // frame of endless clear codes would otherwise keep giflib busy to the file's end.
  void LimitFrameData(std::size_t pixels) {
    reader_.end = std::min(reader_.end, reader_.at + 2 * pixels + 4096);
  }

  // Steps over extensions to the first image descriptor, keeping the transparent
  // colour of the graphic control block that belongs to it.
  void ReachFirstFrame() {
    for (;;) {
      GifRecordType record = UNDEFINED_RECORD_TYPE;
      if (DGifGetRecordType(gif_, &record) != GIF_OK) Broken(gif_->Error);
      if (record == IMAGE_DESC_RECORD_TYPE) {
        const std::size_t descriptorAt = reader_.at;
        if (DGifGetImageDesc(gif_) == GIF_OK) return;
        CheckCodeSize(descriptorAt);
        Broken(gif_->Error);
      }
      if (record != EXTENSION_RECORD_TYPE) Broken(gif_->Error);
      ReadExtension();
    }
  }

  void ReadExtension() {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif_, &code, &block) != GIF_OK) Broken(gif_->Error);
    GraphicsControlBlock control{};
    if (code == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
      transparent_ = control.TransparentColor;
    while (block != nullptr)
      if (DGifGetExtensionNext(gif_, &block) != GIF_OK) Broken(gif_->Error);
  }

  // The rows in the order the file stores them: top to bottom, or in the four passes
  // of an interlaced frame.
  static std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> order;
    if (!interlaced) {
      for (int y = 0; y < height; ++y) order.push_back(y);
      return order;
    }
    const int start[] = {0, 4, 2, 1};
    const int step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
    return order;
  }

  // An index past the colour table reads as black, as if the table were padded.
  std::uint32_t Colour(const ColorMapObject& colours, GifPixelType index) const {
    if (index == transparent_) return 0;
    if (index >= colours.ColorCount) return 0xFF000000;
    const GifColorType& c = colours.Colors[index];
    return 0xFF000000u | static_cast<std::uint32_t>(c.Red) << 16 |
           static_cast<std::uint32_t>(c.Green) << 8 | c.Blue;
  }

  MemoryReader reader_;
  GifFileType* gif_ = nullptr;
  int transparent_ = NO_TRANSPARENT_COLOR;
};

}  // namespace

Picture ReadGif(const std::string& bytes) { return GifReader(bytes).Read(); }

}  // namespace quillbit
