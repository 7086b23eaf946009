// Takes every name off an argument text of COUNT quoted names, the way the batch does,
// and checks each one; test_long_name_lists.py counts its instructions.
// Usage: name_list_walk COUNT   (prints "COUNT names" when every name came off right)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/quoted_file_list.h"
#include "scripted_host.h"

namespace {

// Names of differing lengths, with blanks and non-ASCII letters, as real folders have them.
std::string NameNumber(long number) {
  return "sprites/level " + std::to_string(number % 97) + "/\xC3\xA9toile-" +
         std::to_string(number) + ".png";
}

// Mostly blanks between the names, now and then a separator of two bytes.
std::string ArgumentText(long count) {
  std::string text;
  for (long number = 0; number < count; ++number) {
    if (number > 0) text += number % 5 == 0 ? "\xC2\xA0" : " ";
    text += '"' + NameNumber(number) + '"';
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc == 2 ? std::strtol(argv[1], nullptr, 10) : 0;
  if (count <= 0) {
    std::fprintf(stderr, "usage: name_list_walk COUNT\n");
    return 2;
  }
  quillbit::testing::ScriptedHost host;
  quillbit::ConversionState state;
  state.strCommand = ArgumentText(count);
  long taken = 0;
  while (!state.strCommand.empty()) {
    if (quillbit::NextFileName(state, host) != NameNumber(taken)) {
      std::fprintf(stderr, "name %ld came off wrong\n", taken);
      return 1;
    }
    ++taken;
  }
  std::printf("%ld names\n", taken);
  return taken == count ? 0 : 1;
}
