// The picture libraries linked into the program: the tables hold their functions.
#include "host/picture/picture_libraries.h"

namespace quillbit {

namespace {

#define QUILLBIT_LINK(name) table.name = &::name;

Libtiff LinkedLibtiff() {
  Libtiff table;
  QUILLBIT_LIBTIFF_FUNCTIONS(QUILLBIT_LINK)
  return table;
}

Libwebp LinkedLibwebp() {
  Libwebp table;
  QUILLBIT_LIBWEBP_FUNCTIONS(QUILLBIT_LINK)
  return table;
}

}  // namespace

const Libtiff& LibtiffFunctions() {
  static const Libtiff table = LinkedLibtiff();
  return table;
}

const Libwebp& LibwebpFunctions() {
  static const Libwebp table = LinkedLibwebp();
  return table;
}

}  // namespace quillbit
