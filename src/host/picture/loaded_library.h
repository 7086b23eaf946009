// A shared library loaded when a picture first needs it. libtiff and libwebp bring
// eight more libraries with them, C++ ones among them; loading them at every start
// would double the cost of a one-picture call that never reads TIFF or WebP.
#pragma once

#include <string>

namespace quillbit {

class LoadedLibrary {
 public:
  // Loads the library of that soname; throws std::runtime_error saying why not.
  explicit LoadedLibrary(const char* soname);

  // The function of that name; throws std::runtime_error when the library lacks it.
  template <typename Function>
  Function Get(const char* name) const {
    return reinterpret_cast<Function>(Address(name));
  }

 private:
  void* Address(const char* name) const;

  std::string soname_;
  void* handle_;  // never closed: it serves the rest of the run
};

}  // namespace quillbit
