// The header-writer fuzz target is only as good as its shape check: a true header
// must pass it, and a header with any one fault must fail it.
#include "header_shape.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iterator>
#include <string>

#include "analysis/picture_intake.h"
#include "header/header_file.h"

namespace quillbit::fuzz {
namespace {

// True when the check passes; it aborts on a fault, so it runs in a child process.
bool ShapeAccepted(const std::string& text, const ConversionState& state) {
  const pid_t child = ::fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stderr);
    CheckHeaderShape(text, state, "ship");
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ConversionState GreySprite16x3() {
  ConversionState state;
  state.intWidth = Int16(16);
  state.intHeight = Int16(3);
  state.strSpriteType = SpriteTypeFor(state.intWidth);
  state.blnGrey = true;
  state.intNibbles1.ReDim(Int16(12));
  state.intNibbles2.ReDim(Int16(12));
  for (int i = 1; i <= 12; ++i) {
    state.intNibbles1(Int16::FromInt(i)) = Int16::FromInt(i);
    state.intNibbles2(Int16::FromInt(i)) = Int16::FromInt(15 - i);
  }
  return state;
}

struct Fault {
  const char* name;
  const char* from;
  const char* to;
};

const Fault kFaults[] = {
    {"lower-case digit", "0x9ABC", "0x9aBC"},   {"line feed alone", "{\r\n", "{\n"},
    {"value cut short", "0x1234", "0x123"},     {"array left open", "};", ","},
    {"height wrong", "_HEIGHT 3", "_HEIGHT 4"}, {"element type wrong", "short int", "char"},
    {"value changed", "0x5678", "0x5679"},      {"name not upper-case", "SHIP_WIDTH", "ship_WIDTH"},
};

}  // namespace
}  // namespace quillbit::fuzz

int main() {
  using namespace quillbit::fuzz;
  const quillbit::ConversionState state = GreySprite16x3();
  const std::string header = quillbit::HeaderText(state, "ship");
  int failures = 0;
  if (!ShapeAccepted(header, state)) {
    std::printf("FAIL: the true header is rejected\n");
    ++failures;
  }
  for (const Fault& fault : kFaults) {
    std::string broken = header;
    const std::size_t at = broken.find(fault.from);
    if (at == std::string::npos || (broken.replace(at, std::string(fault.from).size(), fault.to),
                                    ShapeAccepted(broken, state))) {
      std::printf("FAIL: %s is not caught\n", fault.name);
      ++failures;
    }
  }
  std::printf("%d of %zu checks failed\n", failures, std::size(kFaults) + 1);
  return failures == 0 ? 0 : 1;
}
