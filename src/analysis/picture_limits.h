// The size limit every picture must meet: the 16-bit state holds its sides and its
// pixel count. Shared by the intake and by hosts that can tell the size before decoding.
#pragma once

#include <string>

namespace quillbit {

// True when a picture of width x height pixels fits the limits.
bool FitsPictureLimits(double width, double height);

// Throws the overflow run-time error naming path and its size unless a picture
// of width x height pixels fits the limits.
void CheckPictureLimits(const std::string& path, double width, double height);

}  // namespace quillbit
