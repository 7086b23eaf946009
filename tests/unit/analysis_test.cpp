#include <gtest/gtest.h>

#include <type_traits>

#include "analysis/bitplane_extraction.h"
#include "analysis/nibble_packing.h"
#include "analysis/picture_intake.h"
#include "scripted_host.h"

namespace quillbit::testing {
namespace {

constexpr std::uint32_t K = 0x000000, L = 0xAAAAAA, D = 0x555555, W = 0xFFFFFF;

std::vector<int> Bits(const OneBasedArray<std::uint8_t>& plane) {
  std::vector<int> bits;
  for (int k = 1; k <= plane.UBound().get(); ++k) bits.push_back(plane(Int16::FromInt(k)));
  return bits;
}

std::vector<int> Values(const OneBasedArray<Int16>& nibbles) {
  std::vector<int> values;
  for (int i = 1; i <= nibbles.UBound().get(); ++i)
    values.push_back(nibbles(Int16::FromInt(i)).get());
  return values;
}

// Runs the analysis of one picture; the run's end, if any, is returned.
std::optional<ExitStatus> Analyze(ScriptedHost& host, ConversionState& state,
                                  const Picture& picture,
                                  const std::string& path = "/art/ball.bmp") {
  host.pictures[path] = picture;
  try {
    AnalyzePicture(state, host, path);
  } catch (const EndOfRun& end) {
    return end.status;
  }
  return std::nullopt;
}

TEST(PictureIntake, ShowsNameDimensionsAndSpriteType) {
  ScriptedHost host;
  ConversionState state;
  Analyze(host, state, Filled(8, 8, W));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].kind, MessageKind::Information);
  EXPECT_EQ(host.messages[0].text, "Quillbit - ball.bmp\r\nDimensions: 8 by 8\r\nSpriteType: 8");
}

TEST(PictureIntake, SpriteTypeFollowsWidth) {
  const std::pair<int, const char*> cases[] = {{8, "8"},      {16, "16"},    {32, "32"},
                                               {24, "other"}, {64, "other"}, {12, "other"}};
  for (const auto& [width, type] : cases) EXPECT_EQ(SpriteTypeFor(Int16::FromInt(width)), type);
}

TEST(PictureIntake, WidthRuleStopsAfterTheInformation) {
  ScriptedHost host;
  ConversionState state;
  EXPECT_EQ(Analyze(host, state, Filled(12, 12, W)), ExitStatus::UserError);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text,
            "Quillbit - ball.bmp\r\nDimensions: 12 by 12\r\nSpriteType: other");
  EXPECT_EQ(host.messages[1].kind, MessageKind::UserError);
  EXPECT_EQ(host.messages[1].text,
            "Image Width must be evenly divisible by 8 for program to work properly.\r\n"
            "Please resize your image.");
}

TEST(PictureIntake, LimitsOfTheSixteenBitState) {
  struct {
    int width, height;
    bool fits;
  } cases[] = {{32, 1023, true},  {8, 4095, true},   {120, 273, true}, {32, 1024, false},
               {200, 200, false}, {32768, 1, false}, {8, 40000, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    ScriptedHost host;
    ConversionState state;
    if (c.fits) {
      EXPECT_EQ(Analyze(host, state, Filled(c.width, c.height, W)), std::nullopt);
      EXPECT_EQ(state.bytPlane1.UBound().get(), c.width * c.height);
      continue;
    }
    try {
      Analyze(host, state, Filled(c.width, c.height, W), "/art/big.png");
      ADD_FAILURE() << "no overflow";
    } catch (const RunTimeError& error) {
      const std::string size = std::to_string(c.width) + " x " + std::to_string(c.height);
      EXPECT_NE(std::string(error.what()).find("\"/art/big.png\" is " + size), std::string::npos)
          << error.what();
    }
    EXPECT_TRUE(host.messages.empty());  // the overflow comes before the information
  }
}

TEST(BitplaneExtraction, SortsExactColoursOnly) {
  ScriptedHost host;
  ConversionState state;
  Analyze(host, state, PictureOf({{K, L, D, W, W, W, W, K}}));
  EXPECT_EQ(Bits(state.bytPlane1), (std::vector<int>{1, 1, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(Bits(state.bytPlane2), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 1}));
  EXPECT_TRUE(state.blnGrey);
}

TEST(BitplaneExtraction, NearGreysAndColoursAreBackground) {
  for (std::uint32_t colour : {0xC0C0C0u, 0x808080u, 0xFF0000u, 0xAAAAABu, 0x010101u}) {
    ScriptedHost host;
    ConversionState state;
    Analyze(host, state, PictureOf({{colour, K, colour, W, W, W, W, W}}));
    EXPECT_EQ(Bits(state.bytPlane1), (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0})) << colour;
    EXPECT_EQ(Bits(state.bytPlane2), Bits(state.bytPlane1));
    EXPECT_FALSE(state.blnGrey);
  }
}

TEST(BitplaneExtraction, NumbersPixelsRowByRow) {
  ScriptedHost host;
  ConversionState state;
  std::vector<std::uint32_t> row1(8, W);
  std::vector<std::uint32_t> row2(8, W);
  row1[7] = L;  // last of row 1
  row2[0] = D;  // first of row 2
  Analyze(host, state, PictureOf({row1, row2}));
  EXPECT_EQ(Bits(state.bytPlane1),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bits(state.bytPlane2),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(NibblePacking, FirstPixelIsTheMostSignificantBit) {
  const std::pair<std::vector<int>, std::vector<int>> cases[] = {
      {{1, 1, 1, 1, 0, 0, 0, 0}, {15, 0}},
      {{1, 0, 0, 0, 0, 0, 0, 1}, {8, 1}},
      {{0, 1, 1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 1, 0, 1}, {6, 10, 1, 13}}};
  for (const auto& [bits, nibbles] : cases) {
    ConversionState state;
    state.bytPlane1.ReDim(Int16::FromInt(static_cast<long long>(bits.size())));
    state.bytPlane2.ReDim(Int16::FromInt(static_cast<long long>(bits.size())));
    for (std::size_t k = 0; k < bits.size(); ++k) {
      state.bytPlane1(Int16::FromInt(static_cast<long long>(k) + 1)) =
          static_cast<std::uint8_t>(bits[k]);
      state.bytPlane2(Int16::FromInt(static_cast<long long>(k) + 1)) =
          static_cast<std::uint8_t>(1 - bits[k]);
    }
    PackPlanes(state);
    EXPECT_EQ(Values(state.intNibbles1), nibbles);
    for (std::size_t i = 0; i < nibbles.size(); ++i)
      EXPECT_EQ(state.intNibbles2(Int16::FromInt(static_cast<long long>(i + 1))).get(),
                15 - nibbles[i]);
  }
}

TEST(NibblePacking, EightByTwoGivesTwoNibblesPerRow) {
  ScriptedHost host;
  ConversionState state;
  Analyze(host, state, PictureOf({{K, K, K, K, W, W, W, W}, {W, W, W, W, K, W, W, K}}));
  PackPlanes(state);
  EXPECT_EQ(Values(state.intNibbles1), (std::vector<int>{15, 0, 0, 9}));
}

TEST(Int16, RoundsHalvesToEvenAndRefusesOverflow) {
  EXPECT_EQ(Int16::Round(2.5).get(), 2);
  EXPECT_EQ(Int16::Round(3.5).get(), 4);
  EXPECT_EQ(Int16::Round(32767.4).get(), 32767);
  EXPECT_THROW(Int16::Round(32767.5), RunTimeError);
  EXPECT_THROW(Int16::FromInt(200) * Int16::FromInt(200), RunTimeError);
  EXPECT_THROW(Int16::FromInt(32767) + Int16(1), RunTimeError);
  EXPECT_EQ((Int16::FromInt(-32767) - Int16(1)).get(), -32768);
  static_assert(!std::is_convertible_v<int, Int16>, "an int must not narrow into an Int16");
}

TEST(OneBasedArray, RefusesIndicesOutsideItsBounds) {
  OneBasedArray<int> array;
  array.ReDim(Int16(4));
  EXPECT_NO_THROW(array(Int16(1)));
  EXPECT_NO_THROW(array(Int16(4)));
  EXPECT_THROW(array(Int16(0)), RunTimeError);
  EXPECT_THROW(array(Int16(5)), RunTimeError);
}

}  // namespace
}  // namespace quillbit::testing
