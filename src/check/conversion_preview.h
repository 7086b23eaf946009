// What quillbit does with a picture, found by running quillbit's own stages on it:
// its messages, its levels and the header it would write now.
#pragma once

#include <optional>
#include <string>

#include "check/check_platform.h"
#include "check/sprite.h"

namespace quillbit {

struct ConversionPreview {
  std::string information;                // the information message, CR LF between lines
  std::optional<std::string> stop;        // the user error that stops quillbit at this picture
  Sprite sprite;                          // the levels of the pixel pass
  std::optional<std::string> headerPath;  // where quillbit writes the header, if it does
  std::string headerText;                 // and what it writes there
};

// Runs the picture intake, the pixel pass, the packing and the header writer on picture,
// decoded from path, with names formed as on platform. Throws quillbit's run-time errors
// (the size limits among them).
ConversionPreview PreviewConversion(const DecodedPicture& picture, const std::string& path,
                                    CheckPlatform& platform);

}  // namespace quillbit
