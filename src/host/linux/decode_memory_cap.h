// A ceiling on the memory a picture library may take while it decodes. The size
// check reads PNG, GIF, BMP, JPEG, ICO and TGA headers; other formats (TIFF, XCF,
// WebP, ...) may claim any size, and their readers allocate it before they read a
// pixel. Under the ceiling such an allocation fails and the loader reports it.
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
