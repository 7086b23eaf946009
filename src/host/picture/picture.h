// A picture file decoded into what the conversion reads: its size and its pixels. The same
// reader serves every platform; only opening the file is the platform's.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/common/picture_file.h"

namespace quillbit {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // 0xAARRGGBB, row by row from the top
  // What composing the picture out of its layers did to its levels, for quillbit-check:
  // `layer "shade" has 50% opacity: 212 of its pixels are no longer exact levels`.
  std::vector<std::string> notes;
};

// Thrown by a reader for a size beyond the limits, before a pixel is decoded; the host
// turns it into the overflow report.
struct PictureTooLarge {
  long long width;
  long long height;
};

// Decodes the picture file held in bytes with the library made for its format; name is
// the file's name, which tells the formats that have no signature (TGA). Throws
// PictureFault or PictureTooLarge.
Picture ReadPicture(const std::string& bytes, const std::string& name);

// The platform's way to open the picture file at a path.
using OpenPictureFile = std::function<std::unique_ptr<PictureFile>(const std::string& path)>;

// The picture file at path, opened with open, read whole and decoded. Every failure is
// reported once, naming path: the overflow report for a size beyond the limits,
// report_text::CannotReadPicture for everything else.
Picture LoadPicture(const std::string& path, const OpenPictureFile& open);

}  // namespace quillbit
