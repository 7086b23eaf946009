#include "host/linux/decode_memory_cap.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "host/linux/sanitizer_build.h"

namespace quillbit {

namespace {

// The address space the process uses now, from the first field of /proc/self/statm.
// The file stays open for the run and is read afresh from its start each time: opening
// it costs several times more than reading it, and a run reads it once a picture.
rlim_t AddressSpaceInUse() {
  static const int statm = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (statm < 0) return 0;
  char text[128];
  const ssize_t size = ::pread(statm, text, sizeof text - 1, 0);
  if (size <= 0) return 0;
  text[size] = '\0';
  char* end = nullptr;
  const unsigned long long pages = std::strtoull(text, &end, 10);
  if (end == text) return 0;
  return static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace

DecodeMemoryCap::DecodeMemoryCap() {
  if (QUILLBIT_ASAN) return;  // ASan maps terabytes of shadow memory up front
  const rlim_t inUse = AddressSpaceInUse();
  if (inUse == 0 || ::getrlimit(RLIMIT_AS, &previous_) != 0) return;
  const rlim_t ceiling = inUse + kDecodeBudget;
  if (previous_.rlim_cur != RLIM_INFINITY && previous_.rlim_cur <= ceiling) return;
  rlimit lowered = previous_;
  lowered.rlim_cur = ceiling;
  lowered_ = ::setrlimit(RLIMIT_AS, &lowered) == 0;
}

DecodeMemoryCap::~DecodeMemoryCap() {
  if (lowered_) ::setrlimit(RLIMIT_AS, &previous_);
}

}  // namespace quillbit
