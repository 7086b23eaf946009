// Where a path is cut into the folder opened once and the name looked up in it.
#include "host/linux/open_folder.h"

#include <gtest/gtest.h>

namespace quillbit::testing {
namespace {

TEST(SplitAtLastComponent, KeepsWhatTheWholePathWouldHaveMeant) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {
      {"ship.png", ".", "ship.png"},
      {"art/ship.png", "art", "ship.png"},
      {"art//ship.png", "art", "ship.png"},  // the folder of its companion is "art" too
      {"/ship.png", "/", "ship.png"},
      {"//ship.png", "/", "ship.png"},
      {"art/ship.png/", "art", "ship.png/"},  // still asks for a folder, as open() would
      {"a b/c d.png", "a b", "c d.png"},
      {"", ".", ""},
      {"/", "/", "."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const SplitPath split = SplitAtLastComponent(c.path);
    EXPECT_EQ(split.folder, c.folder);
    EXPECT_EQ(split.name, c.name);
  }
}

}  // namespace
}  // namespace quillbit::testing
