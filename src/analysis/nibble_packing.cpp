#include "analysis/nibble_packing.h"

#include <cstdint>

namespace quillbit {

namespace {

// True when every nibble is whole and plane 2 is as long as plane 1: then every index
// is known to be in range and the checks of every access can go.
bool PlanesPackWhole(const ConversionState& state, int pixels) {
  return pixels > 0 && pixels % 4 == 0 && state.bytPlane2.UBound().get() >= pixels;
}

void PackWhole(const std::uint8_t* bits, Int16* nibbles, int count) {
  for (int i = 0; i < count; ++i, bits += 4) {
    nibbles[i] =
        Int16(static_cast<std::int16_t>(((bits[0] * 2 + bits[1]) * 2 + bits[2]) * 2 + bits[3]));
  }
}

}  // namespace

void PackPlanes(ConversionState& state) {
  state.intNibbles1.ReDim(Int16::Round(state.bytPlane1.UBound().get() / 4.0));
  state.intNibbles2.ReDim(Int16::Round(state.bytPlane2.UBound().get() / 4.0));

  // Each nibble is gathered in plain ints and stored once, not rebuilt in the array
  // bit by bit: a nibble never exceeds 15, so no 16-bit step could overflow.
  const int pixels = state.bytPlane1.UBound().get();
  if (PlanesPackWhole(state, pixels)) {
    PackWhole(&state.bytPlane1(Int16(1)), &state.intNibbles1(Int16(1)), pixels / 4);
    PackWhole(&state.bytPlane2(Int16(1)), &state.intNibbles2(Int16(1)), pixels / 4);
    return;
  }
  // Other sizes cannot occur after the width rule; they keep checked steps, which
  // report a nibble past the end.
  int nibble1 = 0;
  int nibble2 = 0;
  int bits = 0;  // bits gathered into the current nibble, 0 to 3
  std::int16_t i = 1;
  for (int j = 1; j <= pixels; ++j) {
    const Int16 pixel(static_cast<std::int16_t>(j));
    nibble1 = nibble1 * 2 + state.bytPlane1(pixel);
    nibble2 = nibble2 * 2 + state.bytPlane2(pixel);
    if (++bits == 4) {
      state.intNibbles1(i) = Int16(static_cast<std::int16_t>(nibble1));
      state.intNibbles2(i) = Int16(static_cast<std::int16_t>(nibble2));
      nibble1 = nibble2 = bits = 0;
      ++i;
    }
  }
  if (bits > 0) {  // a last, partial nibble keeps its bits at the low end
    state.intNibbles1(i) = Int16(static_cast<std::int16_t>(nibble1));
    state.intNibbles2(i) = Int16(static_cast<std::int16_t>(nibble2));
  }
}

}  // namespace quillbit
