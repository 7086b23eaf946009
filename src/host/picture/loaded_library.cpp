#include "host/picture/loaded_library.h"

#include <dlfcn.h>

#include <stdexcept>

namespace quillbit {

namespace {

std::string LastError() {
  const char* error = dlerror();
  return error ? error : "no reason given";
}

}  // namespace

LoadedLibrary::LoadedLibrary(const char* soname)
    : soname_(soname), handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) throw std::runtime_error(LastError());
}

void* LoadedLibrary::Address(const char* name) const {
  dlerror();
  void* address = dlsym(handle_, name);
  if (!address) throw std::runtime_error(soname_ + " has no " + name + ": " + LastError());
  return address;
}

}  // namespace quillbit
