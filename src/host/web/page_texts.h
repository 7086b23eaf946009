// The reports the page makes itself (a module that trapped on a picture, a folder that refused
// a file, the count of pixels per level), in quillbit's words: the worker hands them to the page
// when it starts, so the page keeps no copy of them.
#pragma once

#include <string>

namespace quillbit {

// One report a line: its name, a tab, then its text with {path} and {reason}, or the levels'
// names in braces, where the page puts its values.
std::string PageTexts();

}  // namespace quillbit
