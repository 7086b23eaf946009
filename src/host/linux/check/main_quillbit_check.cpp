// quillbit-check: shows each sprite as quillbit converts it, and what would surprise.
#include "check/check_run.h"
#include "host/linux/check/linux_check_platform.h"

int main(int argc, char** argv) {
  quillbit::LinuxCheckPlatform platform;
  return quillbit::RunCheck(platform, {argv + 1, argv + argc});
}
