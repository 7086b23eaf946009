#include <gtest/gtest.h>

#include "scripted_host.h"

namespace quillbit::testing {
namespace {

constexpr std::uint32_t K = 0x000000, W = 0xFFFFFF;
const std::string kCompanionSource = "/opt/quillbit/Blitview.h";

ScriptedHost HostWith(const std::string& command, const std::vector<std::string>& pictures) {
  ScriptedHost host;
  host.command = command;
  for (const std::string& path : pictures) host.pictures[path] = Filled(8, 2, K);
  host.files[kCompanionSource] = "companion";
  return host;
}

TEST(BatchRun, NoArgumentsShowsHowToUseAndWritesNothing) {
  ScriptedHost host;
  EXPECT_EQ(host.Run(), ExitStatus::UserError);
  EXPECT_EQ(host.Texts(MessageKind::UserError),
            std::vector<std::string>{
                "Drag and drop image files onto the desktop icon to use this program."});
  EXPECT_TRUE(host.files.empty());
  EXPECT_EQ(host.surfacesPrepared, 0);
}

TEST(BatchRun, ArgumentWithAQuoteIsRefusedBeforeAnyConversion) {
  ScriptedHost host = HostWith("", {"a.png"});
  host.command = std::nullopt;
  EXPECT_EQ(host.Run(), ExitStatus::UserError);
  EXPECT_EQ(host.Texts(MessageKind::UserError),
            std::vector<std::string>{"Filenames must be inclosed in double quotes (\")"});
  EXPECT_EQ(host.files.size(), 1u);
}

TEST(BatchRun, ThreeFoldersGetTheirHeadersAndOnlyTheLastTheCompanion) {
  ScriptedHost host = HostWith(R"("/a/one.png" "/b/two.bmp" "/c/three.gif")",
                               {"/a/one.png", "/b/two.bmp", "/c/three.gif"});
  EXPECT_EQ(host.Run(), ExitStatus::Done);
  for (const char* header : {"/a/one.h", "/b/two.h", "/c/three.h"})
    EXPECT_TRUE(host.files.count(header)) << header;
  EXPECT_EQ(host.files.count("/a/Blitview.h") + host.files.count("/b/Blitview.h"), 0u);
  EXPECT_EQ(host.files["/c/Blitview.h"], "companion");
  EXPECT_EQ(host.Texts(MessageKind::Information).size(), 3u);
  EXPECT_EQ(host.surfacesPrepared, 1);
}

TEST(BatchRun, ExistingCompanionIsLeftAlone) {
  ScriptedHost host = HostWith(R"("/c/a.png")", {"/c/a.png"});
  host.files["/c/Blitview.h"] = "the user's own";
  EXPECT_EQ(host.Run(), ExitStatus::Done);
  EXPECT_EQ(host.files["/c/Blitview.h"], "the user's own");
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST(BatchRun, BareFileNamePutsTheCompanionInTheCurrentFolder) {
  ScriptedHost host = HostWith(R"("/a/one.png" "two.png")", {"/a/one.png", "two.png"});
  EXPECT_EQ(host.Run(), ExitStatus::Done);
  EXPECT_EQ(host.files["Blitview.h"], "companion");
  EXPECT_TRUE(host.files.count("two.h"));
}

TEST(BatchRun, MissingCompanionSourceFailsAfterEveryHeader) {
  ScriptedHost host = HostWith(R"("/a/one.png" "/b/two.png")", {"/a/one.png", "/b/two.png"});
  host.files.erase(kCompanionSource);
  EXPECT_EQ(host.Run(), ExitStatus::RunTimeError);
  EXPECT_TRUE(host.files.count("/a/one.h") && host.files.count("/b/two.h"));
  ASSERT_EQ(host.Texts(MessageKind::RunTimeError).size(), 1u);
  EXPECT_NE(host.Texts(MessageKind::RunTimeError)[0].find(kCompanionSource), std::string::npos);
}

TEST(BatchRun, WidthRuleStopsTheBatchAndKeepsEarlierHeaders) {
  ScriptedHost host =
      HostWith(R"("/a/one.png" "/a/odd.png" "/a/three.png")", {"/a/one.png", "/a/three.png"});
  host.pictures["/a/odd.png"] = Filled(12, 12, W);
  EXPECT_EQ(host.Run(), ExitStatus::UserError);
  EXPECT_TRUE(host.files.count("/a/one.h"));
  EXPECT_FALSE(host.files.count("/a/odd.h") || host.files.count("/a/three.h"));
  EXPECT_FALSE(host.files.count("/a/Blitview.h"));
}

TEST(BatchRun, RunTimeErrorsEndTheRunAndKeepEarlierHeaders) {
  struct {
    const char* name;
    void (*spoil)(ScriptedHost&);
  } cases[] = {
      {"unreadable picture", [](ScriptedHost& h) { h.pictures.erase("/a/two.png"); }},
      {"too large picture",
       [](ScriptedHost& h) { h.pictures["/a/two.png"] = Filled(200, 200, W); }},
      {"unwritable header", [](ScriptedHost& h) { h.unwritable.insert("/a/two.h"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedHost host = HostWith(R"("/a/one.png" "/a/two.png" "/a/three.png")",
                                 {"/a/one.png", "/a/two.png", "/a/three.png"});
    c.spoil(host);
    EXPECT_EQ(host.Run(), ExitStatus::RunTimeError);
    EXPECT_TRUE(host.files.count("/a/one.h"));
    EXPECT_FALSE(host.files.count("/a/three.h") || host.files.count("/a/Blitview.h"));
    ASSERT_EQ(host.Texts(MessageKind::RunTimeError).size(), 1u);
    EXPECT_NE(host.Texts(MessageKind::RunTimeError)[0].find("/a/two."), std::string::npos);
  }
}

}  // namespace
}  // namespace quillbit::testing
