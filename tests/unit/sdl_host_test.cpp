// The SDL host on a real picture: the alpha rule of Point, and the one capture file
// reused for every picture returns each picture's complaints alone.
#include "host/sdl_host.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/run_end.h"
#include "host/stderr_capture.h"

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
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 16, 3, 32, SDL_PIXELFORMAT_ARGB8888);
  for (int y = 0; y < 3; ++y) {
    auto* row =
        reinterpret_cast<std::uint32_t*>(static_cast<char*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < 16; ++x) row[x] = kPixels[(x + y) % 8];
  }
  char name[] = "/tmp/quillbit-row-test-XXXXXX.png";
  close(mkstemps(name, 4));
  EXPECT_EQ(IMG_SavePNG(surface, name), 0) << SDL_GetError();
  SDL_FreeSurface(surface);
  return name;
}

class SdlHostPixels : public ::testing::Test {
 protected:
  void SetUp() override { host.LoadPicture(path); }
  void TearDown() override { std::remove(path.c_str()); }

  SilentPresentation presentation;
  SdlHost host{{}, presentation};
  std::string path = WriteTestPng();
};

TEST_F(SdlHostPixels, PointGivesOpaqueColoursAndBackgroundForTheRest) {
  // Row 0 holds kPixels in order: opaque colours pass, anything less than opaque is white.
  const std::uint32_t expected[] = {0x000000, 0xAAAAAA, 0x555555, 0xFFFFFF,
                                    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x123456};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(host.Point(x, 0), expected[x]) << x;
  EXPECT_EQ(host.Point(15, 2), expected[(15 + 2) % 8]);
}

TEST_F(SdlHostPixels, PointOutsideThePictureIsReported) {
  try {
    host.Point(16, 0);
    ADD_FAILURE() << "read past the right edge";
  } catch (const RunTimeError& error) {
    EXPECT_STREQ(error.what(), "pixel (16, 0) lies outside the picture");
  }
  EXPECT_THROW(host.Point(0, 3), RunTimeError);
}

std::string Captured(const std::string& printed) {
  StderrCapture capture;
  std::fputs(printed.c_str(), stderr);
  return capture.Finish();
}

TEST(StderrCaptureReuse, EachCaptureHoldsOnlyItsOwnText) {
  // A shorter text after a longer one shows any leftover of the first.
  EXPECT_EQ(Captured("libpng error: Not enough image data\n"),
            "libpng error: Not enough image data\n");
  EXPECT_EQ(Captured("short\n"), "short\n");
  EXPECT_EQ(Captured(""), "");
  EXPECT_EQ(Captured("again\n"), "again\n");
}

TEST(StderrCaptureReuse, StandardErrorIsGivenBackAfterEachCapture) {
  std::FILE* real = std::tmpfile();  // stands in for the terminal
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  dup2(fileno(real), STDERR_FILENO);
  std::fputs("before\n", stderr);
  const std::string first = Captured("inside one\n");
  std::fputs("between\n", stderr);
  const std::string second = Captured("inside two\n");
  std::fputs("after\n", stderr);
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);

  std::rewind(real);
  char text[256] = {};
  const std::size_t size = std::fread(text, 1, sizeof text - 1, real);
  std::fclose(real);
  EXPECT_EQ(std::string(text, size), "before\nbetween\nafter\n");
  EXPECT_EQ(first, "inside one\n");
  EXPECT_EQ(second, "inside two\n");
}

}  // namespace
}  // namespace quillbit::testing
