#include "analysis/bitplane_extraction.h"

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

}  // namespace

void ExtractBitplanes(ConversionState& state, const Host& host) {
  // Rows and columns count in plain ints: they stay below the picture's sides, which
  // already fit in 16 bits. The pixel number keeps its checked steps.
  const int height = state.intHeight.get();
  const int width = state.intWidth.get();
  std::vector<std::uint32_t> row(width > 0 ? static_cast<std::size_t>(width) : 0);
  const Int16 one(1);
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
