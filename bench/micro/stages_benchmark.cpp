// Where the time of one picture goes: intake, pixel pass, nibble packing, header text.
// Each stage runs on the state the stage before it leaves, as in a real run.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/bitplane_extraction.h"
#include "analysis/nibble_packing.h"
#include "analysis/picture_intake.h"
#include "header/header_file.h"
#include "host/linux/linux_host.h"
#include "host/picture/picture.h"

namespace {

using quillbit::ConversionState;
using quillbit::Int16;

class SilentPresentation : public quillbit::Presentation {
 public:
  void Show(const std::string&, quillbit::MessageKind) override {}
};

// A grey sprite of runs of ink on white, like the benchmark corpus, as a PNG file.
std::string WriteSpritePng(int width, int height) {
  static const std::uint32_t kInks[] = {0xFF000000, 0xFFAAAAAA, 0xFF555555, 0xFFFFFFFF};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  std::mt19937 dice(7);
  for (std::uint32_t& pixel : pixels) pixel = kInks[(dice() >> 4) % 4];
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB words on a little-endian machine
  char name[] = "/tmp/quillbit-micro-XXXXXX.png";
  const int fd = mkstemps(name, 4);
  if (fd < 0) throw std::runtime_error("cannot create a temporary picture");
  close(fd);
  if (!png_image_write_to_file(&image, name, 0, pixels.data(), 0, nullptr))
    throw std::runtime_error(image.message);
  return name;
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A host with the sprite loaded and a state sized for it, as AnalyzePicture leaves them.
struct LoadedSprite {
  SilentPresentation presentation;
  quillbit::LinuxHost host{{}, presentation};
  ConversionState state;
  std::string path;

  LoadedSprite(int width, int height) : path(WriteSpritePng(width, height)) {
    quillbit::AnalyzePicture(state, host, path);
  }
  ~LoadedSprite() { std::remove(path.c_str()); }
};

void SetPixelCounters(benchmark::State& loop, int width, int height) {
  loop.SetItemsProcessed(loop.iterations() * width * height);
  loop.SetLabel(std::to_string(width) + "x" + std::to_string(height));
}

void PictureIntakeFromDisk(benchmark::State& loop) {
  const int width = static_cast<int>(loop.range(0));
  const int height = static_cast<int>(loop.range(1));
  LoadedSprite sprite(width, height);
  for (auto _ : loop) sprite.host.LoadPicture(sprite.path);
  SetPixelCounters(loop, width, height);
}

// The decoder alone, from bytes already in memory: the intake less the file read.
void PictureDecodeInMemory(benchmark::State& loop) {
  const int width = static_cast<int>(loop.range(0));
  const int height = static_cast<int>(loop.range(1));
  LoadedSprite sprite(width, height);
  const std::string bytes = ReadAll(sprite.path);
  for (auto _ : loop) {
    quillbit::Picture picture = quillbit::ReadPicture(bytes, sprite.path);
    benchmark::DoNotOptimize(picture.argb.data());
  }
  SetPixelCounters(loop, width, height);
}

void PixelPass(benchmark::State& loop) {
  const int width = static_cast<int>(loop.range(0));
  const int height = static_cast<int>(loop.range(1));
  LoadedSprite sprite(width, height);
  const Int16 pixels = Int16::FromInt(width * height);
  for (auto _ : loop) {
    sprite.state.bytPlane1.ReDim(pixels);
    sprite.state.bytPlane2.ReDim(pixels);
    quillbit::ExtractBitplanes(sprite.state, sprite.host);
  }
  SetPixelCounters(loop, width, height);
}

void NibblePacking(benchmark::State& loop) {
  const int width = static_cast<int>(loop.range(0));
  const int height = static_cast<int>(loop.range(1));
  LoadedSprite sprite(width, height);
  for (auto _ : loop) quillbit::PackPlanes(sprite.state);
  SetPixelCounters(loop, width, height);
}

void HeaderText(benchmark::State& loop) {
  const int width = static_cast<int>(loop.range(0));
  const int height = static_cast<int>(loop.range(1));
  LoadedSprite sprite(width, height);
  quillbit::PackPlanes(sprite.state);
  std::size_t bytes = 0;
  for (auto _ : loop) {
    const std::string text = quillbit::HeaderText(sprite.state, "sprite");
    bytes += text.size();
    benchmark::DoNotOptimize(text.data());
  }
  loop.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  SetPixelCounters(loop, width, height);
}

// 32 x 32: a typical sprite; 8 x 4095 and 256 x 127: the largest of two sprite types.
void SpriteSizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Args({32, 32})->Args({8, 4095})->Args({256, 127});
}

BENCHMARK(PictureIntakeFromDisk)->Apply(SpriteSizes);
BENCHMARK(PictureDecodeInMemory)->Apply(SpriteSizes);
BENCHMARK(PixelPass)->Apply(SpriteSizes);
BENCHMARK(NibblePacking)->Apply(SpriteSizes);
BENCHMARK(HeaderText)->Apply(SpriteSizes);

}  // namespace

BENCHMARK_MAIN();
