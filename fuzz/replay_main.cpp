// Runs a fuzz target over files without libFuzzer, so every build replays the seed
// corpora and the regression files: each argument is a file or a folder of files.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int RunFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot open %s\n", path.c_str());
    return 1;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int failures = 0;
  std::size_t files = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path argument(argv[i]);
    if (!std::filesystem::is_directory(argument)) {
      failures += RunFile(argument);
      ++files;
      continue;
    }
    for (const auto& entry : std::filesystem::directory_iterator(argument)) {
      failures += RunFile(entry.path());
      ++files;
    }
  }
  std::printf("%zu files replayed, %d unreadable\n", files, failures);
  return failures == 0 && files > 0 ? 0 : 1;
}
