// The one table of picture formats: what tells each format, its reader, its MIME types and
// extensions. Identification and the reader dispatch walk it; the desktop entry, the
// fuzzer's extension list and the test suites' format lists are checked against it
// (tests/formats/).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/picture/picture.h"

namespace quillbit {

struct PictureFormat {
  // The family the test suites and the fuzzer's seeds name it by: "png", "icon". Empty for
  // a format refused by name.
  std::string_view family;
  // As reports and the README name it: "PNG", "GIMP XCF".
  std::string_view name;
  // True when bytes start like this format. Null for a format without a signature, which
  // only the file's extension tells (TGA).
  bool (*signature)(std::string_view bytes);
  // Null for a format refused by name.
  Picture (*read)(const std::string& bytes);
  std::string_view mimeTypes;   // blank-separated
  std::string_view extensions;  // blank-separated, lower case
};

// In the order formats are tried: a format's signature may be part of a later one's.
const std::vector<PictureFormat>& PictureFormats();

// The format of a file, by its first bytes and, for formats without a signature, by name;
// null when no format of the table matches.
const PictureFormat* IdentifyFormat(std::string_view bytes, const std::string& name);

// True when word is one of the blank-separated words of list.
bool ListHas(std::string_view list, std::string_view word);

}  // namespace quillbit
