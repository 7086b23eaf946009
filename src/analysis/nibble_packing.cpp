#include "analysis/nibble_packing.h"

namespace quillbit {

void PackPlanes(ConversionState& state) {
  state.intNibbles1.ReDim(Int16::Round(state.bytPlane1.UBound().get() / 4.0));
  state.intNibbles2.ReDim(Int16::Round(state.bytPlane2.UBound().get() / 4.0));

  // Each nibble is gathered in plain ints and stored once, not rebuilt in the array
  // bit by bit: a nibble never exceeds 15, so no 16-bit step could overflow.
  const int pixels = state.bytPlane1.UBound().get();
  int nibble1 = 0;
  int nibble2 = 0;
  int bits = 0;        // bits gathered into the current nibble, 0 to 3
  std::int16_t i = 1;  // within Int16: there are at most a quarter as many nibbles as pixels
  for (int j = 1; j <= pixels; ++j) {
    const Int16 pixel(static_cast<std::int16_t>(j));
    nibble1 = nibble1 * 2 + state.bytPlane1(pixel);
    nibble2 = nibble2 * 2 + state.bytPlane2(pixel);
    if (++bits == 4) {
      state.intNibbles1(Int16(i)) = Int16(static_cast<std::int16_t>(nibble1));
      state.intNibbles2(Int16(i)) = Int16(static_cast<std::int16_t>(nibble2));
      nibble1 = nibble2 = bits = 0;
      ++i;
    }
  }
  if (bits > 0) {  // a last, partial nibble keeps its bits at the low end
    state.intNibbles1(Int16(i)) = Int16(static_cast<std::int16_t>(nibble1));
    state.intNibbles2(Int16(i)) = Int16(static_cast<std::int16_t>(nibble2));
  }
}

}  // namespace quillbit
