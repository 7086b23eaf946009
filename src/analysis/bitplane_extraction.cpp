#include "analysis/bitplane_extraction.h"

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

const std::vector<DrawingColour>& DrawingColours() {
  static const std::vector<DrawingColour> colours = {{"black", kBlack},
                                                     {"dark grey", kDarkGrey},
                                                     {"light grey", kLightGrey},
                                                     {"background white", kBackgroundWhite}};
  return colours;
}

void ExtractBitplanes(ConversionState& state, const Host& host) {
  const Int16 one(1);
  Int16 k = one;
  for (Int16 r = one; r <= state.intHeight; r += one) {
    for (Int16 c = one; c <= state.intWidth; c += one) {
      ClassifyPixel(state, k, host.Point((c - one).get(), (r - one).get()));
      k += one;
    }
  }
}

}  // namespace quillbit
