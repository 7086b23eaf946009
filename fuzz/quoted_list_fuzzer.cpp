// The quoted-list parser over any argument text: it must end in a list of names or
// in the quote message, shorten the text at every step, and give names that are
// exactly what stood between a pair of quotes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "driver/quoted_file_list.h"
#include "fuzz_check.h"
#include "recording_host.h"

namespace quillbit::fuzz {
namespace {

// Takes one name off the text; false once the run ended with the quote message.
bool TakeName(ConversionState& state, RecordingHost& host) {
  const std::string before(state.strCommand.Rest());
  try {
    const std::string name = NextFileName(state, host);
    FUZZ_CHECK(host.messages.empty());
    FUZZ_CHECK(name.find('"') == std::string::npos);
    FUZZ_CHECK(before.compare(0, name.size() + 2, '"' + name + '"') == 0);
    // The rest is what follows the name, its quotes and one separator character.
    const std::string_view rest = state.strCommand.Rest();
    FUZZ_CHECK(rest.size() < before.size() - name.size() - 1);
    FUZZ_CHECK(before.compare(before.size() - rest.size(), std::string::npos, rest) == 0);
    return true;
  } catch (const EndOfRun& end) {
    FUZZ_CHECK(end.status == ExitStatus::UserError);
    FUZZ_CHECK(host.messages.size() == 1);
    FUZZ_CHECK(host.messages[0].text == kQuoteMessage);
    FUZZ_CHECK(host.messages[0].kind == MessageKind::UserError);
    return false;
  }
}

}  // namespace
}  // namespace quillbit::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillbit;
  ConversionState state;
  state.strCommand = std::string(reinterpret_cast<const char*>(data), size);
  fuzz::RecordingHost host;
  std::size_t names = 0;
  while (!state.strCommand.empty() && fuzz::TakeName(state, host)) ++names;
  FUZZ_CHECK(names <= size / 2);  // every name costs at least its two quotes
  return 0;
}
