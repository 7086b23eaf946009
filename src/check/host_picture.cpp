#include "check/host_picture.h"

#include "analysis/picture_limits.h"

namespace quillbit {

DecodedPicture LoadWithHost(SurfaceHost& host, const std::string& path) {
  host.LoadPicture(path);
  CheckPictureLimits(path, host.ScaleWidth(), host.ScaleHeight());
  host.Refresh();
  return {static_cast<int>(host.ScaleWidth()), static_cast<int>(host.ScaleHeight()), host.Pixels(),
          host.Notes()};
}

}  // namespace quillbit
