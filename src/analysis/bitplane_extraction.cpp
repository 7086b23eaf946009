#include "analysis/bitplane_extraction.h"

#include <cstdint>
#include <vector>

namespace quillbit {

namespace {

void ClassifyPixel(ConversionState& state, Int16 k, std::uint32_t colour) {
  switch (colour) {
    case kBlack:
      state.bytPlane1(k) = 1;
      state.bytPlane2(k) = 1;
      break;
    case kLightGrey:
      state.bytPlane1(k) = 1;
      state.blnGrey = true;
      break;
    case kDarkGrey:
      state.bytPlane2(k) = 1;
      state.blnGrey = true;
      break;
    default: break;  // background leaves both bits 0
  }
}

// True when both planes hold every pixel and the pixel number cannot overflow:
// then no index can stray, and the checks of every access can go.
bool PlanesHoldEveryPixel(const ConversionState& state, int pixels) {
  return pixels > 0 && pixels < Int16::kMax && state.bytPlane1.UBound().get() >= pixels &&
         state.bytPlane2.UBound().get() >= pixels;
}

// Sorts one row with the same rules as ClassifyPixel; k is the 0-based pixel number.
void ClassifyRow(const std::uint32_t* row, int width, std::uint8_t* plane1, std::uint8_t* plane2,
                 int k, bool& grey) {
  for (int c = 0; c < width; ++c, ++k) {
    const std::uint32_t colour = row[c];
    if (colour == kBlack) {
      plane1[k] = plane2[k] = 1;
    } else if (colour == kLightGrey) {
      plane1[k] = 1;
      grey = true;
    } else if (colour == kDarkGrey) {
      plane2[k] = 1;
      grey = true;
    }
  }
}

}  // namespace

void ExtractBitplanes(ConversionState& state, const Host& host) {
  // Rows and columns count in plain ints: they stay below the picture's sides, which
  // already fit in 16 bits.
  const int height = state.intHeight.get();
  const int width = state.intWidth.get();
  std::vector<std::uint32_t> row(width > 0 ? static_cast<std::size_t>(width) : 0);
  const Int16 one(1);
  if (height > 0 && width > 0 && PlanesHoldEveryPixel(state, height * width)) {
    std::uint8_t* plane1 = &state.bytPlane1(one);
    std::uint8_t* plane2 = &state.bytPlane2(one);
    for (int r = 0; r < height; ++r) {
      host.ReadRow(r, width, row.data());
      ClassifyRow(row.data(), width, plane1, plane2, r * width, state.blnGrey);
    }
    return;
  }
  // Anything else takes checked steps, which report the first index that strays.
  Int16 k = one;
  for (int r = 0; r < height; ++r) {
    host.ReadRow(r, width, row.data());
    for (int c = 0; c < width; ++c) {
      ClassifyPixel(state, k, row[static_cast<std::size_t>(c)]);
      k += one;
    }
  }
}

}  // namespace quillbit
