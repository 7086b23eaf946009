// Binary PGM and PPM: the header is checked here, the raster read by stb_image, and every
// sample scaled by the header's maximum, which stb_image leaves as it is.
#include <cctype>

#include "host/picture/format_readers.h"
#include "host/picture/samples.h"
#include "host/picture/stb_reader.h"

namespace quillbit {

namespace {

// What the header says: three numbers, then the raster right after one blank.
struct PnmHeader {
  long long width = 0;
  long long height = 0;
  long long maxval = 0;
  std::size_t rasterAt = 0;
};

[[noreturn]] void Broken(const std::string& why) {
  throw PictureFault("broken PNM file (" + why + ")");
}

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Blanks and comments before a number.
std::size_t SkipBlanks(const std::string& bytes, std::size_t at) {
  while (at < bytes.size()) {
    if (IsBlank(bytes[at])) {
      ++at;
    } else if (bytes[at] == '#') {
      while (at < bytes.size() && bytes[at] != '\n' && bytes[at] != '\r') ++at;
    } else {
      break;
    }
  }
  return at;
}

// A decimal number of at most nine digits (no side ends past 32767, no sample past 65535);
// stb_image would read a longer one into an int that overflows. A comment may follow a side
// at once; the largest sample ends the header with one blank.
long long Number(const std::string& bytes, std::size_t& at, const char* what, bool last) {
  at = SkipBlanks(bytes, at);
  long long value = 0;
  std::size_t digits = 0;
  for (; at < bytes.size() && IsDigit(bytes[at]); ++at, ++digits) {
    if (value >= 100000000) Broken("a number in its header is too long");
    value = value * 10 + (bytes[at] - '0');
  }
  if (digits == 0) Broken(std::string("no ") + what + " in its header");
  if (at < bytes.size() && !IsBlank(bytes[at]) && (last || bytes[at] != '#'))
    Broken(std::string("its ") + what + " is not a number");
  return value;
}

PnmHeader ParseHeader(const std::string& bytes) {
  PnmHeader header;
  std::size_t at = 2;
  header.width = Number(bytes, at, "width", false);
  header.height = Number(bytes, at, "height", false);
  header.maxval = Number(bytes, at, "maximum sample", true);
  if (header.maxval < 1 || header.maxval > 65535)
    Broken("its maximum sample is " + std::to_string(header.maxval) + ", not 1 to 65535");
  header.rasterAt = at + 1;
  return header;
}

// A sample of a picture whose samples go to maxval, as if they went to most.
unsigned Scaled(unsigned sample, unsigned maxval, unsigned most) {
  if (maxval == most) return sample;
  if (sample >= maxval) return most;
  return (sample * most + maxval / 2) / maxval;
}

// Samples of 16 bits: stb_image 2.27 hands the raster over as the file holds it,
// big-endian.
void FillSixteenBits(const StbSamples& samples, unsigned maxval, Picture& picture) {
  const std::uint8_t* at = samples.data();
  for (std::uint32_t& word : picture.argb) {
    std::uint8_t eight[3];
    for (int i = 0; i < samples.channels(); ++i, at += 2)
      eight[i] = EightBitSample(static_cast<std::uint16_t>(
          Scaled(static_cast<unsigned>(at[0] << 8 | at[1]), maxval, 0xFFFF)));
    word = ArgbFromSamples(eight, samples.channels());
  }
}

void ScaleEightBits(unsigned maxval, Picture& picture) {
  if (maxval == 0xFF) return;
  for (std::uint32_t& word : picture.argb) {
    std::uint32_t scaled = word & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
      scaled |= Scaled(word >> shift & 0xFF, maxval, 0xFF) << shift;
    word = scaled;
  }
}

}  // namespace

Picture ReadPnm(const std::string& bytes) {
  const PnmHeader header = ParseHeader(bytes);
  Picture picture = SizedPicture(header.width, header.height);
  const std::uint64_t channels = bytes[1] == '6' ? 3 : 1;
  const std::uint64_t sampleBytes = header.maxval > 0xFF ? 2 : 1;
  if (header.rasterAt + picture.argb.size() * channels * sampleBytes > bytes.size())
    Broken("cut short");
  const auto maxval = static_cast<unsigned>(header.maxval);
  const StbSamples samples(bytes, "PNM", picture, sampleBytes == 2);
  if (sampleBytes == 2) {
    FillSixteenBits(samples, maxval, picture);
  } else {
    FillFromSamples(samples, picture);
    ScaleEightBits(maxval, picture);
  }
  return picture;
}

}  // namespace quillbit
