#include "driver/quoted_file_list.h"

#include "host/run_end.h"

namespace quillbit {

const char* const kQuoteMessage = "Filenames must be inclosed in double quotes (\")";

namespace {

// Length in bytes of the UTF-8 character that starts at pos (1 for a stray byte),
// so the separator after a name is dropped whole, whatever it is.
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
  std::size_t end = pos + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return end - pos;
}

}  // namespace

void EndWithQuoteMessage(Host& host) {
  host.MsgBox(kQuoteMessage, MessageKind::UserError);
  End(ExitStatus::UserError);
}

std::string NextFileName(ConversionState& state, Host& host) {
  const std::string_view command = state.strCommand.Rest();
  if (command.empty() || command.front() != '"') EndWithQuoteMessage(host);
  const std::size_t closing = command.find('"', 1);
  // A name without its closing quote is as badly quoted as one without the opening.
  if (closing == std::string_view::npos) EndWithQuoteMessage(host);

  std::string name(command.substr(1, closing - 1));
  const std::size_t separator = closing + 1;
  state.strCommand.DropFront(
      separator < command.size() ? separator + CharacterLength(command, separator) : separator);
  return name;
}

}  // namespace quillbit
