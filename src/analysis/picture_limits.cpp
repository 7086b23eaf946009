#include "analysis/picture_limits.h"

#include "driver/state/int16.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

std::string Decimal(double value) { return std::to_string(static_cast<long long>(value)); }

}  // namespace

// Checked before any arithmetic on the sides, so the report carries the real size
// instead of the overflow of some later product.
bool FitsPictureLimits(double width, double height) {
  const double limit = Int16::kMax + 0.5;  // what still rounds to 32767
  return width < limit && height < limit &&
         Int16::Round(width).get() * Int16::Round(height).get() <= Int16::kMax;
}

void CheckPictureLimits(const std::string& path, double width, double height) {
  if (FitsPictureLimits(width, height)) return;
  throw RunTimeError("overflow: picture \"" + path + "\" is " + Decimal(width) + " x " +
                     Decimal(height) + " pixels; at most " + std::to_string(Int16::kMax) +
                     " pixels fit");
}

}  // namespace quillbit
