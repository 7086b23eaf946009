#include "host/unsafe_format.h"

#include "host/run_end.h"

namespace quillbit {

void RefuseUnsafeFormat(const std::string& bytes, const std::string& path) {
  // The signature SDL_image itself recognises XCF by, whatever the file's name.
  if (bytes.compare(0, 9, "gimp xcf ") == 0)
    throw RunTimeError("cannot read picture \"" + path +
                       "\": GIMP XCF files are not read; export the picture as PNG");
}

}  // namespace quillbit
