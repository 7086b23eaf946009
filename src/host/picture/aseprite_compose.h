// How Aseprite shows one layer's cel over the layers below it: the cel's and the layer's
// opacity together, and the layer's blend mode, by the separable blend modes of W3C
// Compositing and Blending, which Aseprite's modes are named after.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "host/picture/picture.h"

namespace quillbit {

// A cel's pixels (0xAARRGGBB, not premultiplied) and where its top left corner lies on
// the canvas; it may lie partly or wholly outside.
struct CelPixels {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// Aseprite's name of a blend mode ("multiply"); empty for a mode it does not have.
std::string_view BlendModeName(int mode);

// True for the blend modes ComposeCel composes: normal and the separable ones. Hue,
// saturation, colour and luminosity are not.
bool CanCompose(int mode);

// Puts cel onto canvas at opacity (0 to 255) in blend mode (CanCompose); gives how many
// of the cel's opaque pixels of an exact level are no exact level on the canvas after.
int ComposeCel(Picture& canvas, const CelPixels& cel, int opacity, int mode);

}  // namespace quillbit
