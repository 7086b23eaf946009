#include "host/png_header_size.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace quillbit {

namespace {

struct MemoryReader {
  const std::string* bytes;
  std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > reader->bytes->size() - reader->at) png_error(png, "file cut short");
  std::memcpy(out, reader->bytes->data() + reader->at, count);
  reader->at += count;
}

// Silent: a header libpng cannot read is left to the loader, which reports it.
void StopReading(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Holds nothing with a destructor, so libpng's jump back out of an error is safe.
bool ReadHeader(png_structp png, png_infop info, MemoryReader* reader, PngSize* size) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, reader, ReadFromMemory);
  png_read_info(png, info);  // stops before the first row
  size->width = png_get_image_width(png, info);
  size->height = png_get_image_height(png, info);
  return true;
}

}  // namespace

bool LooksLikePng(const std::string& bytes) {
  return bytes.size() >= 8 &&
         png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) == 0;
}

std::optional<PngSize> ReadPngSize(const std::string& bytes) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, StopReading, IgnoreWarning);
  if (!png) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  MemoryReader reader{&bytes, 0};
  PngSize size{};
  const bool read = info && ReadHeader(png, info, &reader, &size);
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  if (!read) return std::nullopt;
  return size;
}

}  // namespace quillbit
