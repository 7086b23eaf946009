// Forms the argument text the way a desktop passes dropped files.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillbit {

// Each argument in double quotes, joined by one blank; empty for no arguments.
// nullopt when an argument holds a double quote, which that text cannot express.
std::optional<std::string> QuoteArguments(const std::vector<std::string>& arguments);

}  // namespace quillbit
