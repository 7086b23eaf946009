/* Loaded with LD_PRELOAD: every file the program opens for writing reports EIO when it is
 * closed, after the close itself succeeded. Network and FUSE file systems report a write
 * they could not complete only there, so a program that ignores close loses the file. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/types.h>
#include <unistd.h>

enum { kTracked = 4096 };
static unsigned char written[kTracked];

static int Track(int fd, int flags) {
  if (fd >= 0 && fd < kTracked && (flags & (O_WRONLY | O_RDWR)) != 0) written[fd] = 1;
  return fd;
}

static mode_t ModeOf(int flags, va_list arguments) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(arguments, mode_t) : 0;
}

int openat(int folder, const char* path, int flags, ...) {
  static int (*real)(int, const char*, int, ...);
  va_list arguments;
  mode_t mode;
  if (real == NULL) real = (int (*)(int, const char*, int, ...))dlsym(RTLD_NEXT, "openat");
  va_start(arguments, flags);
  mode = ModeOf(flags, arguments);
  va_end(arguments);
  return Track(real(folder, path, flags, mode), flags);
}

int openat64(int folder, const char* path, int flags, ...) {
  va_list arguments;
  mode_t mode;
  va_start(arguments, flags);
  mode = ModeOf(flags, arguments);
  va_end(arguments);
  return openat(folder, path, flags, mode);
}

int close(int fd) {
  static int (*real)(int);
  int result;
  if (real == NULL) real = (int (*)(int))dlsym(RTLD_NEXT, "close");
  result = real(fd);
  if (result == 0 && fd >= 0 && fd < kTracked && written[fd]) {
    written[fd] = 0;
    errno = EIO;
    return -1;
  }
  return result;
}
