// Packs the one-bit-per-pixel planes four pixels at a time into nibbles.
#pragma once

#include "driver/state/conversion_state.h"

namespace quillbit {

// Fills intNibbles1 and intNibbles2 from bytPlane1 and bytPlane2; the first of
// each four pixels lands in the nibble's most significant bit.
void PackPlanes(ConversionState& state);

}  // namespace quillbit
