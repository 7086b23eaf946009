#include "host/linux/picture/picture_format.h"

#include <algorithm>
#include <cctype>

#include "host/common/icon_selection.h"

namespace quillbit {

namespace {

bool StartsWith(const std::string& bytes, const char* signature, std::size_t size) {
  return bytes.compare(0, size, signature, size) == 0;
}

bool At(const std::string& bytes, std::size_t at, const char* text, std::size_t size) {
  return bytes.size() >= at + size && bytes.compare(at, size, text, size) == 0;
}

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// Formats people still meet, named so the report says what the file is.
std::string KnownUnreadFormat(const std::string& bytes) {
  if (StartsWith(bytes, "gimp xcf ", 9)) return "GIMP XCF";
  if (StartsWith(bytes, "8BPS", 4)) return "Photoshop PSD";
  if (StartsWith(bytes, "FORM", 4) && (At(bytes, 8, "ILBM", 4) || At(bytes, 8, "PBM ", 4)))
    return "IFF ILBM";
  if (bytes.find("/* XPM */") < 64) return "XPM";
  if (StartsWith(bytes, "P7 332", 6)) return "XV thumbnail";
  if (StartsWith(bytes, "P7", 2)) return "PAM";
  if (bytes.size() > 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '4')
    return bytes[1] == '4' ? "PBM" : "plain (text) PNM";
  if (StartsWith(bytes, "qoif", 4)) return "QOI";
  if (At(bytes, 4, "ftypavif", 8) || At(bytes, 4, "ftypheic", 8)) return "AVIF/HEIF";
  if (StartsWith(bytes, "\xff\x0a", 2) || At(bytes, 4, "JXL ", 4)) return "JPEG XL";
  if (bytes.size() > 3 && bytes[0] == '\x0a' && bytes[1] >= 0 && bytes[1] <= 5 && bytes[2] == 1)
    return "PCX";
  return "";
}

IdentifiedFormat Refused(const std::string& format) {
  if (format.empty()) return {PictureFormat::Refused, "not a picture format quillbit reads"};
  return {PictureFormat::Refused,
          format + " is not a picture format quillbit reads; save the picture as PNG"};
}

}  // namespace

IdentifiedFormat IdentifyFormat(const std::string& bytes, const std::string& path) {
  if (StartsWith(bytes, "\x89PNG\r\n\x1a\n", 8)) return {PictureFormat::Png, ""};
  if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6))
    return {PictureFormat::Gif, ""};
  if (StartsWith(bytes, "\xff\xd8\xff", 3)) return {PictureFormat::Jpeg, ""};
  if (StartsWith(bytes, "II*\0", 4) || StartsWith(bytes, "MM\0*", 4))
    return {PictureFormat::Tiff, ""};
  if (StartsWith(bytes, "RIFF", 4) && At(bytes, 8, "WEBP", 4)) return {PictureFormat::Webp, ""};
  if (StartsWith(bytes, "BM", 2)) return {PictureFormat::Bmp, ""};
  if (StartsWith(bytes, "P5", 2) || StartsWith(bytes, "P6", 2)) return {PictureFormat::Pnm, ""};
  if (LooksLikeIcon(bytes)) return {PictureFormat::Icon, ""};
  // Before the formats refused by their first bytes: TGA's bytes may start like them.
  if (LowerExtension(path) == "tga") return {PictureFormat::Tga, ""};
  return Refused(KnownUnreadFormat(bytes));
}

}  // namespace quillbit
