// The one report of a picture that cannot be read, whatever the platform or format.
#pragma once

#include <string>

#include "host/run_end.h"

namespace quillbit {

inline RunTimeError CannotReadPicture(const std::string& path, const std::string& why) {
  return RunTimeError("cannot read picture \"" + path + "\": " + why);
}

}  // namespace quillbit
