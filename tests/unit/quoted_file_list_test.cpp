#include "driver/quoted_file_list.h"

#include <gtest/gtest.h>

#include "scripted_host.h"

namespace quillbit::testing {
namespace {

struct ListCase {
  const char* command;
  std::vector<std::string> names;  // names taken before the list ends or is refused
  bool refused;                    // ends with the quote message
};

// Takes names the way the batch loop does, until the text is used up or refused.
ListCase Walk(const std::string& command) {
  ScriptedHost host;
  ConversionState state;
  state.strCommand = command;
  ListCase result{nullptr, {}, false};
  try {
    while (!state.strCommand.empty()) result.names.push_back(NextFileName(state, host));
  } catch (const EndOfRun& end) {
    EXPECT_EQ(end.status, ExitStatus::UserError);
    EXPECT_EQ(host.Texts(MessageKind::UserError),
              std::vector<std::string>{"Filenames must be inclosed in double quotes (\")"});
    result.refused = true;
  }
  return result;
}

TEST(QuotedFileList, TakesNamesOffTheFrontOneByOne) {
  const ListCase cases[] = {
      {R"("a.bmp" "b.bmp")", {"a.bmp", "b.bmp"}, false},
      {R"("a.bmp"x"b.bmp")", {"a.bmp", "b.bmp"}, false},
      {R"("C:\My Pictures\a.bmp")", {R"(C:\My Pictures\a.bmp)"}, false},
      {R"("" "b")", {"", "b"}, false},
      {R"("a.bmp" )", {"a.bmp"}, false},
      {"\"a\"\xC3\xA9\"b\"", {"a", "b"}, false},  // a two-byte separator goes whole
      {"a.bmp", {}, true},
      {R"("a.bmp"  "b.bmp")", {"a.bmp"}, true},
      {R"("a.bmp" "b.bmp  )", {"a.bmp"}, true},  // no closing quote
      {R"(")", {}, true},
      {R"("a.bmp"  )", {"a.bmp"}, true},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.command);
    ListCase got = Walk(c.command);
    EXPECT_EQ(got.names, c.names);
    EXPECT_EQ(got.refused, c.refused);
  }
}

TEST(QuotedFileList, KeepsTheRestAfterTheSeparator) {
  ScriptedHost host;
  ConversionState state;
  state.strCommand = R"("a b.png" "c.png")";
  EXPECT_EQ(NextFileName(state, host), "a b.png");
  EXPECT_EQ(state.strCommand.Rest(), R"("c.png")");
  EXPECT_EQ(NextFileName(state, host), "c.png");
  EXPECT_EQ(state.strCommand.Rest(), "");
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace quillbit::testing
