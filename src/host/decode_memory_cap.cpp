#include "host/decode_memory_cap.h"

#include <unistd.h>

#include <fstream>

#include "host/sanitizer_build.h"

namespace quillbit {

namespace {

// The address space the process uses now, from the first field of /proc/self/statm.
rlim_t AddressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  if (!(statm >> pages)) return 0;
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
