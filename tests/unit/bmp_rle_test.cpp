// The RLE4/RLE8 expander at its edges: runs past a row's end, deltas past the picture,
// padded literals, data that ends too soon.
#include "host/picture/bmp_rle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/common/picture_file.h"

namespace quillbit::testing {
namespace {

constexpr std::uint16_t S = kSkippedPixel;

struct RleCase {
  const char* what;
  std::string data;
  int width;
  int height;
  int bits;
  std::vector<std::uint16_t> pixels;
};

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int value : values) bytes += static_cast<char>(value);
  return bytes;
}

TEST(BmpRle, ExpandsEveryCodeWithinThePicture) {
  const RleCase cases[] = {
      {"a run past the row's end stops at it", Bytes({6, 1, 0, 1}), 4, 1, 8, {1, 1, 1, 1}},
      {"a literal of odd length is padded to a word",
       Bytes({0, 3, 1, 2, 3, 0, 1, 4, 0, 1}),
       4,
       1,
       8,
       {1, 2, 3, 4}},
      {"RLE4 literals and runs take nibbles in turn",
       Bytes({0, 3, 0x12, 0x30, 1, 0x40, 0, 1}),
       4,
       1,
       4,
       {1, 2, 3, 4}},
      {"RLE4 runs alternate the two nibbles", Bytes({5, 0x12, 0, 1}), 5, 1, 4, {1, 2, 1, 2, 1}},
      {"an end of line skips the rest of the row",
       Bytes({1, 7, 0, 0, 2, 8, 0, 1}),
       2,
       2,
       8,
       {7, S, 8, 8}},
      {"a delta skips right and up", Bytes({0, 2, 1, 1, 1, 9, 0, 1}), 2, 2, 8, {S, S, S, 9}},
      {"a delta past the picture ends it, whatever follows",
       Bytes({0, 2, 200, 200, 5}),
       2,
       2,
       8,
       {S, S, S, S}},
      {"the last row's end of line needs no end of picture", Bytes({2, 5, 0, 0}), 2, 1, 8, {5, 5}},
  };
  for (const RleCase& rle : cases)
    EXPECT_EQ(ExpandBmpRle(rle.data, rle.width, rle.height, rle.bits), rle.pixels) << rle.what;
}

TEST(BmpRle, DataThatEndsBeforeThePictureIsBroken) {
  for (const std::string& data : {Bytes({}), Bytes({2}), Bytes({0, 3, 1, 2}), Bytes({0, 2, 1})}) {
    try {
      ExpandBmpRle(data, 4, 2, 8);
      ADD_FAILURE() << "accepted " << data.size() << " bytes";
    } catch (const PictureFault& fault) {
      EXPECT_STREQ(fault.what(), "broken BMP file (RLE data cut short)");
    }
  }
}

}  // namespace
}  // namespace quillbit::testing
