#include "host/picture/picture_formats.h"

#include <algorithm>
#include <cctype>

#include "host/common/icon_selection.h"
#include "host/picture/format_readers.h"

namespace quillbit {

namespace {

bool At(std::string_view bytes, std::size_t at, std::string_view text) {
  return bytes.size() >= at + text.size() && bytes.compare(at, text.size(), text) == 0;
}

bool StartsWith(std::string_view bytes, std::string_view text) { return At(bytes, 0, text); }

bool IsPng(std::string_view bytes) { return StartsWith(bytes, "\x89PNG\r\n\x1a\n"); }
bool IsGif(std::string_view bytes) {
  return StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a");
}
bool IsJpeg(std::string_view bytes) { return StartsWith(bytes, "\xff\xd8\xff"); }
bool IsTiff(std::string_view bytes) {
  return StartsWith(bytes, std::string_view("II*\0", 4)) ||
         StartsWith(bytes, std::string_view("MM\0*", 4));
}
bool IsWebp(std::string_view bytes) { return StartsWith(bytes, "RIFF") && At(bytes, 8, "WEBP"); }
bool IsBmp(std::string_view bytes) { return StartsWith(bytes, "BM"); }
bool IsBinaryPnm(std::string_view bytes) {
  return StartsWith(bytes, "P5") || StartsWith(bytes, "P6");
}
bool IsIcon(std::string_view bytes) { return LooksLikeIcon(std::string(bytes.substr(0, 6))); }

// Aseprite's magic number alone is two bytes after a size, which other formats' first
// bytes can hold; its colour depth and the first frame's magic number make it sure.
bool IsAseprite(std::string_view bytes) {
  if (!At(bytes, 4, "\xE0\xA5") || bytes.size() < 14 || bytes[13] != 0) return false;
  if (bytes[12] != 8 && bytes[12] != 16 && bytes[12] != 32) return false;
  return bytes.size() < 134 || At(bytes, 132, "\xFA\xF1");
}

bool IsXcf(std::string_view bytes) { return StartsWith(bytes, "gimp xcf "); }
bool IsPsd(std::string_view bytes) { return StartsWith(bytes, "8BPS"); }
bool IsIlbm(std::string_view bytes) {
  return StartsWith(bytes, "FORM") && (At(bytes, 8, "ILBM") || At(bytes, 8, "PBM "));
}
bool IsXpm(std::string_view bytes) {
  return bytes.substr(0, 64).find("/* XPM */") != std::string_view::npos;
}
bool IsXvThumbnail(std::string_view bytes) { return StartsWith(bytes, "P7 332"); }
bool IsPam(std::string_view bytes) { return StartsWith(bytes, "P7"); }
bool IsPbm(std::string_view bytes) { return bytes.size() > 2 && StartsWith(bytes, "P4"); }
bool IsPlainPnm(std::string_view bytes) {
  return bytes.size() > 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '3';
}
bool IsQoi(std::string_view bytes) { return StartsWith(bytes, "qoif"); }
bool IsAvifOrHeif(std::string_view bytes) {
  return At(bytes, 4, "ftypavif") || At(bytes, 4, "ftypheic");
}
bool IsJpegXl(std::string_view bytes) {
  return StartsWith(bytes, "\xff\x0a") || At(bytes, 4, "JXL ");
}
bool IsPcx(std::string_view bytes) {
  return bytes.size() > 3 && bytes[0] == '\x0a' && bytes[1] >= 0 && bytes[1] <= 5 && bytes[2] == 1;
}

std::string LowerExtension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  const std::size_t folder = name.find_last_of("/\\");
  if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) return "";
  std::string extension = name.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

// Aseprite comes first: its first bytes are a file size, which may read as another
// format's signature ("BM", "II*\0"). TGA has no signature and is told by its name alone,
// so it comes before the formats whose first bytes a TGA file may share: an icon's
// 00 00 01 00, PCX's 0A.
const std::vector<PictureFormat>& PictureFormats() {
  static const std::vector<PictureFormat> formats = {
      // shared-mime-info 2.2 (Debian 12) has no type for Aseprite files.
      {"aseprite", "Aseprite", IsAseprite, ReadAseprite, "", "ase aseprite"},
      {"png", "PNG", IsPng, ReadPng, "image/png", "png"},
      {"gif", "GIF", IsGif, ReadGif, "image/gif", "gif"},
      {"jpeg", "JPEG", IsJpeg, ReadJpeg, "image/jpeg", "jpg jpeg jpe jfif"},
      {"tiff", "TIFF", IsTiff, ReadTiff, "image/tiff", "tif tiff"},
      {"webp", "WebP", IsWebp, ReadWebp, "image/webp", "webp"},
      {"bmp", "BMP", IsBmp, ReadBmp, "image/bmp image/x-bmp image/x-ms-bmp", "bmp dib"},
      {"pnm", "PGM/PPM", IsBinaryPnm, ReadPnm,
       "image/x-portable-graymap image/x-portable-pixmap image/x-portable-anymap", "pgm ppm pnm"},
      {"tga", "TGA", nullptr, ReadTga, "image/x-tga", "tga"},
      {"icon", "ICO/CUR", IsIcon, ReadIcon,
       "image/vnd.microsoft.icon image/x-icon image/x-win-bitmap", "ico cur"},
      // Formats people still meet, refused by name so the report says what the file is.
      {"", "GIMP XCF", IsXcf, nullptr, "", "xcf"},
      {"", "Photoshop PSD", IsPsd, nullptr, "", "psd"},
      {"", "IFF ILBM", IsIlbm, nullptr, "", "iff ilbm lbm"},
      {"", "XPM", IsXpm, nullptr, "", "xpm"},
      {"", "XV thumbnail", IsXvThumbnail, nullptr, "", ""},
      {"", "PAM", IsPam, nullptr, "", "pam"},
      {"", "PBM", IsPbm, nullptr, "", "pbm"},
      {"", "plain (text) PNM", IsPlainPnm, nullptr, "", ""},
      {"", "QOI", IsQoi, nullptr, "", "qoi"},
      {"", "AVIF/HEIF", IsAvifOrHeif, nullptr, "", "avif heif heic"},
      {"", "JPEG XL", IsJpegXl, nullptr, "", "jxl"},
      {"", "PCX", IsPcx, nullptr, "", "pcx"},
  };
  return formats;
}

const PictureFormat* IdentifyFormat(std::string_view bytes, const std::string& name) {
  const std::string extension = LowerExtension(name);
  for (const PictureFormat& format : PictureFormats()) {
    const bool matches = format.signature
                             ? format.signature(bytes)
                             : !extension.empty() && ListHas(format.extensions, extension);
    if (matches) return &format;
  }
  return nullptr;
}

bool ListHas(std::string_view list, std::string_view word) {
  std::size_t at = 0;
  while (at < list.size()) {
    std::size_t end = list.find(' ', at);
    if (end == std::string_view::npos) end = list.size();
    if (list.substr(at, end - at) == word) return true;
    at = end + 1;
  }
  return false;
}

}  // namespace quillbit
