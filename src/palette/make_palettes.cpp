// Run by the build: writes the palette files of the drawing colours into the folder named
// by its one argument.
#include <cstdio>
#include <string>

#include "palette/palette_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: quillbit_make_palettes FOLDER\n", stderr);
    return 2;
  }
  for (const quillbit::PaletteFile& file : quillbit::PaletteFiles(quillbit::DrawingColours())) {
    const std::string path = std::string(argv[1]) + "/" + file.name;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    const bool written =
        out && std::fwrite(file.bytes.data(), 1, file.bytes.size(), out) == file.bytes.size();
    if (!out || std::fclose(out) != 0 || !written) {
      std::fprintf(stderr, "quillbit_make_palettes: cannot write \"%s\"\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
