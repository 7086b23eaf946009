#include "host/common/terminal_options.h"

#include "host/run_end.h"

namespace quillbit {

namespace {

constexpr char kUsage[] =
    "Usage: quillbit PICTURE...\n"
    "Writes a C header of bitplane arrays beside each picture (ship.png gives ship.h)\n"
    "and copies Blitview.h beside the last one. Exact colours: #000000 black,\n"
    "#AAAAAA light grey, #555555 dark grey, anything else background.\n"
    "There are no options; a picture named --help is reached as ./--help.\n"
    "Exit status: 0 done, 1 a picture or file failed, 2 a usage error.\n";

const std::string kVersion = std::string("quillbit " QUILLBIT_VERSION "\n") + kCopyrightLine;

}  // namespace

std::optional<int> AnswerTerminalOption(const std::vector<std::string>& arguments,
                                        StandardStreams& streams) {
  if (arguments.size() != 1) return std::nullopt;
  const char* answer = nullptr;
  if (arguments[0] == "--help") answer = kUsage;
  if (arguments[0] == "--version") answer = kVersion.c_str();
  if (!answer) return std::nullopt;
  const bool written = !streams.Put(answer, false);
  return static_cast<int>(written ? ExitStatus::Done : ExitStatus::RunTimeError);
}

}  // namespace quillbit
