// Preloaded into quillbit, it makes every file system refuse O_TMPFILE as FUSE and
// network file systems do, so a run falls back on named temporary files.
#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

namespace {

using OpenAt = int (*)(int, const char*, int, ...);

int OpenUnlessUnnamed(const char* symbol, int folder, const char* path, int flags, mode_t mode) {
  if ((flags & O_TMPFILE) == O_TMPFILE) {
    errno = EOPNOTSUPP;
    return -1;
  }
  const auto next = reinterpret_cast<OpenAt>(dlsym(RTLD_NEXT, symbol));
  return next(folder, path, flags, mode);
}

}  // namespace

// The mode is there only with O_CREAT or O_TMPFILE, as openat(2) says.
#define QUILLBIT_OPENAT(symbol)                                         \
  extern "C" int symbol(int folder, const char* path, int flags, ...) { \
    mode_t mode = 0;                                                    \
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {   \
      va_list rest;                                                     \
      va_start(rest, flags);                                            \
      mode = va_arg(rest, mode_t);                                      \
      va_end(rest);                                                     \
    }                                                                   \
    return OpenUnlessUnnamed(#symbol, folder, path, flags, mode);       \
  }

// The C library declares them with its reserved names (__fd, __file); these are readable.
QUILLBIT_OPENAT(openat)    // NOLINT(readability-inconsistent-declaration-parameter-name)
QUILLBIT_OPENAT(openat64)  // NOLINT(readability-inconsistent-declaration-parameter-name)
