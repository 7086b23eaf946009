// The picture libraries loaded when a picture first needs them; their sonames come from
// the libraries the build found.
#include <stdexcept>
#include <string>

#include "host/common/picture_file.h"
#include "host/picture/loaded_library.h"
#include "host/picture/picture_libraries.h"

namespace quillbit {

namespace {

#define QUILLBIT_LOAD(name) table.name = library.Get<decltype(&::name)>(#name);

Libtiff LoadLibtiff() {
  const LoadedLibrary library(QUILLBIT_LIBTIFF);
  Libtiff table;
  QUILLBIT_LIBTIFF_FUNCTIONS(QUILLBIT_LOAD)
  return table;
}

// The demuxer needs the decoder, so its handle finds the decoder's functions too.
Libwebp LoadLibwebp() {
  const LoadedLibrary library(QUILLBIT_LIBWEBPDEMUX);
  Libwebp table;
  QUILLBIT_LIBWEBP_FUNCTIONS(QUILLBIT_LOAD)
  return table;
}

}  // namespace

const Libtiff& LibtiffFunctions() {
  try {
    static const Libtiff table = LoadLibtiff();
    return table;
  } catch (const std::runtime_error& error) {
    throw PictureFault(std::string("TIFF pictures need " QUILLBIT_LIBTIFF ": ") + error.what());
  }
}

const Libwebp& LibwebpFunctions() {
  try {
    static const Libwebp table = LoadLibwebp();
    return table;
  } catch (const std::runtime_error& error) {
    throw PictureFault(
        std::string("WebP pictures need " QUILLBIT_LIBWEBP " and " QUILLBIT_LIBWEBPDEMUX ": ") +
        error.what());
  }
}

}  // namespace quillbit
