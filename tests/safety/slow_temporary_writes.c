/* Loaded with LD_PRELOAD: each write to one of quillbit's temporary files (".quillbit-...")
 * takes 5 ms more, as on a slow disk, so that a signal sent at a random moment finds one
 * there as often as not. Runs whose temporary files are named from the start (under Node)
 * then show whether a signal still removes what it finds. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

static void SlowIfTemporary(int fd) {
  char link[64];
  char target[4096];
  ssize_t length;
  const struct timespec pause = {0, 5000000};
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  length = readlink(link, target, sizeof target - 1);
  if (length <= 0) return;
  target[length] = '\0';
  if (strstr(target, "/.quillbit-") != NULL) nanosleep(&pause, NULL);
}

ssize_t write(int fd, const void* bytes, size_t count) {
  static ssize_t (*real)(int, const void*, size_t);
  if (real == NULL) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  SlowIfTemporary(fd);
  return real(fd, bytes, count);
}

ssize_t writev(int fd, const struct iovec* pieces, int count) {
  static ssize_t (*real)(int, const struct iovec*, int);
  if (real == NULL) real = (ssize_t(*)(int, const struct iovec*, int))dlsym(RTLD_NEXT, "writev");
  SlowIfTemporary(fd);
  return real(fd, pieces, count);
}
