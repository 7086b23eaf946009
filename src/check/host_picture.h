// A picture loaded by a platform's own quillbit host, so quillbit-check reads pictures
// with quillbit's reader, limits and reports on every platform.
#pragma once

#include <string>

#include "check/check_platform.h"
#include "host/common/surface_host.h"

namespace quillbit {

// The picture at path as host loads it for the conversion: the size held against the
// limits before any pixel is decoded (hosts that decode late rely on it), then the pixels.
DecodedPicture LoadWithHost(SurfaceHost& host, const std::string& path);

}  // namespace quillbit
