// Picture intake on any bytes, through the real loader of the Linux host: the file
// is decoded, measured, checked against the limits, sorted into planes, packed and
// written as header text. Every input must end in a header or a clean report.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "analysis/nibble_packing.h"
#include "analysis/picture_intake.h"
#include "fuzz_check.h"
#include "header/header_file.h"
#include "host/linux/linux_host.h"
#include "host/run_end.h"

namespace quillbit::fuzz {
namespace {

// Messages are dropped: the run's outcome is what counts.
class SilentPresentation : public Presentation {
 public:
  void Show(const std::string&, MessageKind) override {}
};

// The first byte picks the extension, the loader's hint for formats it cannot
// tell by content (TGA); the rest is the file. fuzz/family_seeds.py writes seeds with
// the same list, and tests/formats checks it against the reader's table of formats. The
// order stays: committed corpus files chose their extension by it.
const char* const kExtensions[] = {"png", "gif", "bmp", "jpg",  "ico", "tga", "pcx", "ase",
                                   "pgm", "ppm", "tif", "webp", "cur", "lbm", "xpm", "txt"};
constexpr std::size_t kExtensionCount = sizeof kExtensions / sizeof kExtensions[0];

std::string WritePictureFile(const std::uint8_t* data, std::size_t size) {
  static const std::string folder = [] {
    char name[] = "/tmp/quillbit-fuzz-XXXXXX";
    FUZZ_CHECK(::mkdtemp(name) != nullptr);
    return std::string(name);
  }();
  const std::string path = folder + "/picture." + kExtensions[size ? data[0] % kExtensionCount : 0];
  std::FILE* file = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(file != nullptr);
  if (size > 1) FUZZ_CHECK(std::fwrite(data + 1, 1, size - 1, file) == size - 1);
  FUZZ_CHECK(std::fclose(file) == 0);
  return path;
}

void Convert(const std::string& path) {
  static SilentPresentation presentation;
  LinuxHost host({}, presentation);
  ConversionState state;
  host.PreparePictureSurface();
  AnalyzePicture(state, host, path);
  PackPlanes(state);
  const std::string text = HeaderText(state, "picture");
  FUZZ_CHECK(text.size() > 0);
}

}  // namespace
}  // namespace quillbit::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = quillbit::fuzz::WritePictureFile(data, size);
  try {
    quillbit::fuzz::Convert(path);
  } catch (const quillbit::RunTimeError&) {  // a refused picture: its report is the outcome
  } catch (const quillbit::EndOfRun& end) {  // the width rule
    FUZZ_CHECK(end.status == quillbit::ExitStatus::UserError);
  }
  return 0;
}
