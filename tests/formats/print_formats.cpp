// Prints the reader's table of formats, one line a format: family, name, extensions and
// MIME types, tab-separated (an empty family for a format refused by name). The table test
// holds every list that follows from the table against it.
#include <cstdio>

#include "host/picture/picture_formats.h"

int main() {
  for (const quillbit::PictureFormat& format : quillbit::PictureFormats()) {
    const auto text = [](std::string_view view) { return std::string(view); };
    std::printf("%s\t%s\t%s\t%s\n", text(format.family).c_str(), text(format.name).c_str(),
                text(format.extensions).c_str(), text(format.mimeTypes).c_str());
  }
  return 0;
}
