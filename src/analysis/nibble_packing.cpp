#include "analysis/nibble_packing.h"

#include <cstdint>

namespace quillbit {

void PackPlanes(ConversionState& state) {
  state.intNibbles1.ReDim(Int16::Round(state.bytPlane1.UBound().get() / 4.0));
  state.intNibbles2.ReDim(Int16::Round(state.bytPlane2.UBound().get() / 4.0));

  const Int16 one(1);
  const Int16 two(2);
  std::uint8_t b = 1;  // position of the next bit within its nibble, 1 to 4
  Int16 i = one;
  for (Int16 j = one; j <= state.bytPlane1.UBound(); j += one) {
    state.intNibbles1(i) = state.intNibbles1(i) * two + Int16(state.bytPlane1(j));
    state.intNibbles2(i) = state.intNibbles2(i) * two + Int16(state.bytPlane2(j));
    if (++b == 5) {
      b = 1;
      i += one;
    }
  }
}

}  // namespace quillbit
