#include "host/node/node_check_platform.h"

#include <cctype>

#include "check/host_picture.h"
#include "host/common/report_texts.h"
#include "host/node/node_system.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The character set of the locale the environment sets for character types, by the
// variables' order of precedence; Node cannot ask the C library which locales exist.
bool LocaleIsUtf8() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const std::optional<std::string> locale = node_system::Environment(name);
    if (!locale || locale->empty()) continue;
    const std::string lowered = Lowered(*locale);
    return lowered.find(".utf-8") != std::string::npos ||
           lowered.find(".utf8") != std::string::npos;
  }
  return false;
}

}  // namespace

NodeCheckPlatform::NodeCheckPlatform() : pictures_({}, unusedMessages_) {}

DecodedPicture NodeCheckPlatform::LoadPicture(const std::string& path) {
  return LoadWithHost(pictures_, path);
}

std::optional<std::string> NodeCheckPlatform::ReadFileStart(const std::string& path,
                                                            std::size_t limit) {
  try {
    const node_system::ReadableFile file(path);
    if (!file.regular())
      throw RunTimeError(report_text::CannotRead(path, report_text::kFileNotRegular));
    return file.ReadStart(limit);
  } catch (const node_system::SystemFailure& failure) {
    if (failure.missing) return std::nullopt;
    throw RunTimeError(report_text::CannotRead(path, failure.what()));
  }
}

TerminalFacts NodeCheckPlatform::Terminal() {
  TerminalFacts facts;
  facts.isTerminal = node_system::OutputIsTerminal();
  facts.takesEscapes = facts.isTerminal;
  facts.takesUtf8 = LocaleIsUtf8();
  facts.noColor = node_system::Environment("NO_COLOR");
  facts.term = node_system::Environment("TERM");
  return facts;
}

void NodeCheckPlatform::Write(const std::string& text, Stream stream) {
  WriteStandardStream(text, stream == Stream::Error, streams_);
}

}  // namespace quillbit
