#include "host/picture/aseprite_compose.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/bitplane_extraction.h"

namespace quillbit {

namespace {

enum Mode {
  kNormal,
  kMultiply,
  kScreen,
  kOverlay,
  kDarken,
  kLighten,
  kColorDodge,
  kColorBurn,
  kHardLight,
  kSoftLight,
  kDifference,
  kExclusion,
  kHue,
  kSaturation,
  kColor,
  kLuminosity,
  kAddition,
  kSubtract,
  kDivide
};

// Aseprite's order, which is the file's number of each mode.
constexpr std::array<std::string_view, 19> kModeNames = {
    "normal",     "multiply",   "screen",     "overlay",    "darken",    "lighten", "color dodge",
    "color burn", "hard light", "soft light", "difference", "exclusion", "hue",     "saturation",
    "color",      "luminosity", "addition",   "subtract",   "divide"};

double Screen(double b, double s) { return b + s - b * s; }
double HardLight(double b, double s) { return s <= 0.5 ? b * 2 * s : Screen(b, 2 * s - 1); }

double SoftLight(double b, double s) {
  if (s <= 0.5) return b - (1 - 2 * s) * b * (1 - b);
  const double d = b <= 0.25 ? ((16 * b - 12) * b + 4) * b : std::sqrt(b);
  return b + (2 * s - 1) * (d - b);
}

// B(Cb, Cs) of the W3C compositing formulas, each channel from 0 to 1.
double Blend(int mode, double b, double s) {
  switch (mode) {
    case kMultiply: return b * s;
    case kScreen: return Screen(b, s);
    case kOverlay: return HardLight(s, b);
    case kDarken: return std::min(b, s);
    case kLighten: return std::max(b, s);
    case kColorDodge: return b == 0 ? 0 : s == 1 ? 1 : std::min(1.0, b / (1 - s));
    case kColorBurn: return b == 1 ? 1 : s == 0 ? 0 : 1 - std::min(1.0, (1 - b) / s);
    case kHardLight: return HardLight(b, s);
    case kSoftLight: return SoftLight(b, s);
    case kDifference: return std::abs(b - s);
    case kExclusion: return b + s - 2 * b * s;
    case kAddition: return std::min(1.0, b + s);
    case kSubtract: return std::max(0.0, b - s);
    case kDivide: return s == 0 ? (b == 0 ? 0 : 1) : std::min(1.0, b / s);
    default: return s;
  }
}

double Unit(std::uint32_t argb, int shift) {
  return static_cast<double>(argb >> shift & 0xFF) / 255;
}

std::uint32_t Byte(double unit, int shift) {
  return static_cast<std::uint32_t>(std::lround(std::clamp(unit, 0.0, 1.0) * 255)) << shift;
}

int TimesUnit(int a, int b) { return (a * b + 127) / 255; }

// Source over in whole numbers for the normal mode, the most common by far.
std::uint32_t NormalOver(std::uint32_t backdrop, std::uint32_t source, int opacity) {
  const int as = TimesUnit(static_cast<int>(source >> 24), opacity);
  const int ab = static_cast<int>(backdrop >> 24);
  if (as == 0) return backdrop;
  if (ab == 0) return static_cast<std::uint32_t>(as) << 24 | (source & 0xFFFFFF);
  const int ar = as + ab - TimesUnit(as, ab);
  std::uint32_t result = static_cast<std::uint32_t>(ar) << 24;
  for (const int shift : {0, 8, 16}) {
    const int cb = static_cast<int>(backdrop >> shift & 0xFF);
    const int cs = static_cast<int>(source >> shift & 0xFF);
    result |= static_cast<std::uint32_t>(cb + (cs - cb) * as / ar) << shift;
  }
  return result;
}

// Source over, with the source's colour first blended with the backdrop where the backdrop
// is (Cs' = (1 - ab) Cs + ab B(Cb, Cs)).
std::uint32_t Over(std::uint32_t backdrop, std::uint32_t source, int opacity, int mode) {
  const double as = Unit(source, 24) * opacity / 255;
  const double ab = Unit(backdrop, 24);
  const double ar = as + ab * (1 - as);
  if (as == 0) return backdrop;
  std::uint32_t result = Byte(ar, 24);
  for (const int shift : {0, 8, 16}) {
    const double cb = Unit(backdrop, shift);
    const double cs = Unit(source, shift);
    const double mixed = (1 - ab) * cs + ab * Blend(mode, cb, cs);
    result |= Byte((as * mixed + ab * (1 - as) * cb) / ar, shift);
  }
  return result;
}

bool IsExactLevel(std::uint32_t argb) {
  const std::uint32_t rgb = argb & 0xFFFFFF;
  return argb >> 24 == 0xFF && (rgb == kBlack || rgb == kDarkGrey || rgb == kLightGrey);
}

}  // namespace

std::string_view BlendModeName(int mode) {
  return mode >= 0 && mode < static_cast<int>(kModeNames.size())
             ? kModeNames[static_cast<std::size_t>(mode)]
             : "";
}

bool CanCompose(int mode) {
  return !BlendModeName(mode).empty() && (mode < kHue || mode > kLuminosity);
}

int ComposeCel(Picture& canvas, const CelPixels& cel, int opacity, int mode) {
  int changed = 0;
  const int top = std::max(0, -cel.y);
  const int left = std::max(0, -cel.x);
  const int bottom = std::min(cel.height, canvas.height - cel.y);
  const int right = std::min(cel.width, canvas.width - cel.x);
  for (int row = top; row < bottom; ++row) {
    for (int column = left; column < right; ++column) {
      const std::uint32_t source =
          cel.argb[static_cast<std::size_t>(row) * static_cast<std::size_t>(cel.width) +
                   static_cast<std::size_t>(column)];
      std::uint32_t& pixel =
          canvas
              .argb[static_cast<std::size_t>(row + cel.y) * static_cast<std::size_t>(canvas.width) +
                    static_cast<std::size_t>(column + cel.x)];
      if (mode != kNormal) {
        pixel = Over(pixel, source, opacity, mode);
      } else {
        pixel =
            opacity == 255 && source >> 24 == 0xFF ? source : NormalOver(pixel, source, opacity);
      }
      if (IsExactLevel(source) && !IsExactLevel(pixel)) ++changed;
    }
  }
  return changed;
}

}  // namespace quillbit
