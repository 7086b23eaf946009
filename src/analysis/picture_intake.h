// Loads one picture, fixes its size and sprite type, tells the user, and sorts its pixels.
#pragma once

#include <string>

#include "driver/state/conversion_state.h"
#include "host/host.h"

namespace quillbit {

// The sprite type of a picture of the given width: "8", "16", "32" or "other".
std::string SpriteTypeFor(Int16 width);

// The three-line information message shown for every picture.
std::string InformationText(const std::string& fileName, Int16 width, Int16 height,
                            const std::string& spriteType);

// Loads the picture at path, sets intWidth, intHeight, strSpriteType and fresh planes,
// shows the information message, enforces the width rule, then fills the planes.
void AnalyzePicture(ConversionState& state, Host& host, const std::string& path);

}  // namespace quillbit
