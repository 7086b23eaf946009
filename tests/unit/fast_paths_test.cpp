// The nibble packer and the header's data lines were rewritten for speed; these tests
// hold them to the step-by-step versions they replaced, kept here as the reference,
// over every nibble count and layout that can occur and the ones that cannot.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "analysis/nibble_packing.h"
#include "header/header_file.h"

namespace quillbit::testing {
namespace {

// The packer as first written: every bit goes through the checked 16-bit arithmetic.
void ReferencePackPlanes(ConversionState& state) {
  state.intNibbles1.ReDim(Int16::Round(state.bytPlane1.UBound().get() / 4.0));
  state.intNibbles2.ReDim(Int16::Round(state.bytPlane2.UBound().get() / 4.0));
  const Int16 one(1);
  const Int16 two(2);
  int b = 1;
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

// The data lines as first written: a fresh string for every value and every line.
std::string ReferenceDataLines(const OneBasedArray<Int16>& nibbles, int digits, int perLine) {
  static const char kHexDigits[] = "0123456789ABCDEF";
  std::string out, num, line;
  int d = 0, v = 0;
  const int last = nibbles.UBound().get();
  for (int i = 1; i <= last; ++i) {
    num += kHexDigits[nibbles(Int16(static_cast<std::int16_t>(i))).get() & 0xF];
    if (++d == digits) {
      line += "0x" + num + (i == last ? "};" : ",");
      num.clear();
      d = 0;
      ++v;
    }
    if (i == last || v == perLine) {
      out += "\t" + line + "\r\n";
      line.clear();
      num.clear();
      v = 0;
    }
  }
  return out;
}

void FillPlanes(ConversionState& state, int pixels, unsigned seed) {
  std::mt19937 dice(seed);
  state.bytPlane1.ReDim(Int16::FromInt(pixels));
  state.bytPlane2.ReDim(Int16::FromInt(pixels));
  for (int k = 1; k <= pixels; ++k) {
    const Int16 index = Int16::FromInt(k);
    state.bytPlane1(index) = static_cast<std::uint8_t>(dice() & 1);
    state.bytPlane2(index) = static_cast<std::uint8_t>(dice() & 1);
  }
}

// The planes of pixels random bits (plane 2 cut to plane2Size when given) after pack,
// or the error pack stopped with.
std::string PackedText(void (*pack)(ConversionState&), int pixels, int plane2Size = -1) {
  ConversionState state;
  FillPlanes(state, pixels, static_cast<unsigned>(pixels));
  if (plane2Size >= 0) state.bytPlane2.ReDim(Int16::FromInt(plane2Size));
  try {
    pack(state);
  } catch (const RunTimeError& error) {
    return std::string("error: ") + error.what();
  }
  std::string text;
  for (int i = 1; i <= state.intNibbles1.UBound().get(); ++i) {
    const Int16 index = Int16::FromInt(i);
    text += std::to_string(state.intNibbles1(index).get()) + "/" +
            std::to_string(state.intNibbles2(index).get()) + " ";
  }
  return text;
}

TEST(FastPaths, PackPlanesMatchesTheReferenceForEveryPlaneSize) {
  // Multiples of 4 occur; the others leave a partial last nibble or fall off the end.
  for (int pixels : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 63, 64, 1000, 32760}) {
    EXPECT_EQ(PackedText(PackPlanes, pixels), PackedText(ReferencePackPlanes, pixels))
        << pixels << " pixels";
  }
  EXPECT_EQ(PackedText(PackPlanes, 8), PackedText(ReferencePackPlanes, 8));
  EXPECT_NE(PackedText(PackPlanes, 8).find("/"), std::string::npos);
}

TEST(FastPaths, PackPlanesStopsLikeTheReferenceWhenPlaneTwoIsShort) {
  const std::string packed = PackedText(PackPlanes, 16, 6);
  EXPECT_EQ(packed, PackedText(ReferencePackPlanes, 16, 6));
  EXPECT_EQ(packed, "error: subscript out of range: 7");
}

struct LayoutCase {
  const char* spriteType;
  int width;
  int digits;
  int perLine;
};

std::string ExpectedHeader(const ConversionState& state, const LayoutCase& layout) {
  const char* element = layout.digits == 2   ? "char "
                        : layout.digits == 4 ? "short int "
                                             : "long int ";
  std::string text = "//Image data created by Quillbit 1.0 Beta (Marrowick)\r\n#define S_WIDTH " +
                     std::to_string(state.intWidth.get()) + "\r\n#define S_HEIGHT " +
                     std::to_string(state.intHeight.get()) + "\r\n\r\n";
  text += "// s --- bitplane 1\r\nunsigned " + std::string(element) + "s" +
          (state.blnGrey ? "1" : "") + "[] = {\r\n" +
          ReferenceDataLines(state.intNibbles1, layout.digits, layout.perLine);
  if (state.blnGrey) {
    text += "\r\n// s --- bitplane 2\r\nunsigned " + std::string(element) + "s2[] = {\r\n" +
            ReferenceDataLines(state.intNibbles2, layout.digits, layout.perLine);
  }
  return text;
}

TEST(FastPaths, HeaderTextMatchesTheReferenceForEveryLayout) {
  const LayoutCase layouts[] = {
      {"8", 8, 2, 8},        {"16", 16, 4, 8},   {"32", 32, 8, 4}, {"other", 24, 2, 3},
      {"other", 256, 2, 32}, {"other", 4, 2, 0},  // a width the width rule refuses: every line
                                                  // comes out empty
  };
  for (const LayoutCase& layout : layouts) {
    // Whole rows, and counts that end inside a value or inside a line.
    for (int nibbles : {1, 2, 3, 5, 7, 8, 9, 31, 64, 129, 8190}) {
      for (bool grey : {false, true}) {
        ConversionState state;
        state.strSpriteType = layout.spriteType;
        state.intWidth = Int16::FromInt(layout.width);
        state.intHeight = Int16::FromInt(nibbles);
        state.blnGrey = grey;
        FillPlanes(state, nibbles * 4, static_cast<unsigned>(nibbles));
        PackPlanes(state);
        EXPECT_EQ(HeaderText(state, "s"), ExpectedHeader(state, layout))
            << layout.spriteType << " " << layout.width << ", " << nibbles << " nibbles";
      }
    }
  }
}

}  // namespace
}  // namespace quillbit::testing
