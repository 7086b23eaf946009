// Where a file's text first departs from the text quillbit writes, in words.
#pragma once

#include <string>

namespace quillbit {

// Empty when actual equals expected; otherwise the first line that differs, e.g.
// "line 7 reads "\t0xFF00};" where quillbit writes "\t0xFF00,0x8000};"". Control
// characters are shown as \t, \r and \xNN, and long lines are cut.
std::string FirstDifference(const std::string& expected, const std::string& actual);

}  // namespace quillbit
