// The Linux host on a real picture: the alpha rule of Point.
#include "host/linux/linux_host.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/run_end.h"

namespace quillbit::testing {
namespace {

class SilentPresentation : public Presentation {
 public:
  void Show(const std::string&, MessageKind) override {}
};

// A 16 x 3 PNG with every kind of pixel: the four levels, other colours, and alpha.
std::string WriteTestPng() {
  static const std::uint32_t kPixels[] = {0xFF000000, 0xFFAAAAAA, 0xFF555555, 0xFFFFFFFF,
                                          0xFE000000, 0x00000000, 0x80AAAAAA, 0xFF123456};
  std::vector<std::uint32_t> pixels(std::size_t{16} * 3);
  for (std::size_t y = 0; y < 3; ++y)
    for (std::size_t x = 0; x < 16; ++x) pixels[y * 16 + x] = kPixels[(x + y) % 8];
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 16;
  image.height = 3;
  image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB words on a little-endian machine
  char name[] = "/tmp/quillbit-row-test-XXXXXX.png";
  close(mkstemps(name, 4));
  EXPECT_NE(png_image_write_to_file(&image, name, 0, pixels.data(), 0, nullptr), 0)
      << image.message;
  return name;
}

class LinuxHostPixels : public ::testing::Test {
 protected:
  void SetUp() override { host.LoadPicture(path); }
  void TearDown() override { std::remove(path.c_str()); }

  SilentPresentation presentation;
  LinuxHost host{{}, presentation};
  std::string path = WriteTestPng();
};

TEST_F(LinuxHostPixels, PointGivesOpaqueColoursAndBackgroundForTheRest) {
  // Row 0 holds kPixels in order: opaque colours pass, anything less than opaque is white.
  const std::uint32_t expected[] = {0x000000, 0xAAAAAA, 0x555555, 0xFFFFFF,
                                    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x123456};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(host.Point(x, 0), expected[x]) << x;
  EXPECT_EQ(host.Point(15, 2), expected[(15 + 2) % 8]);
}

TEST_F(LinuxHostPixels, PointOutsideThePictureIsReported) {
  try {
    host.Point(16, 0);
    ADD_FAILURE() << "read past the right edge";
  } catch (const RunTimeError& error) {
    EXPECT_STREQ(error.what(), "pixel (16, 0) lies outside the picture");
  }
  EXPECT_THROW(host.Point(0, 3), RunTimeError);
}

}  // namespace
}  // namespace quillbit::testing
