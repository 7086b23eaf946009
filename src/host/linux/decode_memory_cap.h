// A ceiling on the memory a picture library may take while it decodes: a second guard
// behind the size check every reader makes before decoding. What the picture's size does
// not bound, a library may still allocate from the file's own fields (a TIFF's strips or
// tiles, a PNG's compressed text or colour profile); under the ceiling such an allocation
// fails and the reader reports it.
#pragma once

#include <sys/resource.h>

namespace quillbit {

class DecodeMemoryCap {
 public:
  // Lets the process grow by at most kDecodeBudget bytes of address space from now.
  DecodeMemoryCap();
  DecodeMemoryCap(const DecodeMemoryCap&) = delete;
  DecodeMemoryCap& operator=(const DecodeMemoryCap&) = delete;
  // Gives the previous limit back.
  ~DecodeMemoryCap();

  // Far beyond what a picture of 32767 pixels needs in any format.
  static constexpr rlim_t kDecodeBudget = rlim_t{1} << 30;

 private:
  rlimit previous_{};
  bool lowered_ = false;
};

}  // namespace quillbit
