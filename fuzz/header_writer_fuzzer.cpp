// The header writer on any state within the limits: the text must be a well-formed
// header whatever the size, the planes and the name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/picture_intake.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "header/header_file.h"
#include "header_shape.h"

namespace quillbit::fuzz {
namespace {

// A width that is a multiple of 8 and a height with at most 32767 pixels in all.
void ChooseSize(FuzzInput& input, ConversionState& state) {
  const int width = 8 * (1 + input.Word() % (Int16::kMax / 8));
  const int height = 1 + input.Word() % (Int16::kMax / width);
  state.intWidth = Int16::FromInt(width);
  state.intHeight = Int16::FromInt(height);
  state.strSpriteType = SpriteTypeFor(state.intWidth);
}

void FillNibbles(FuzzInput& input, OneBasedArray<Int16>& nibbles, Int16 count) {
  nibbles.ReDim(count);
  for (int i = 1; i <= count.get(); ++i)
    nibbles(Int16::FromInt(i)) = Int16::FromInt(input.Byte() & 0xF);
}

// Names come from file names, which hold no line ends on the platforms we serve.
std::string BaseName(FuzzInput& input) {
  std::string name = input.Text(40);
  for (char& ch : name)
    if (ch == '\r' || ch == '\n') ch = '_';
  return name;
}

}  // namespace
}  // namespace quillbit::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillbit;
  fuzz::FuzzInput input(data, size);
  ConversionState state;
  fuzz::ChooseSize(input, state);
  state.blnGrey = input.Byte() & 1;
  const std::string base = fuzz::BaseName(input);
  const Int16 nibbleCount = Int16::FromInt(state.intWidth.get() * state.intHeight.get() / 4);
  fuzz::FillNibbles(input, state.intNibbles1, nibbleCount);
  fuzz::FillNibbles(input, state.intNibbles2, nibbleCount);

  const std::string text = HeaderText(state, base);
  fuzz::CheckHeaderShape(text, state, base);
  return 0;
}
