// Takes quoted picture paths off the front of the argument text.
#pragma once

#include <string>

#include "driver/state/conversion_state.h"
#include "host/host.h"

namespace quillbit {

// The text shown when the argument text is not a list of quoted names.
extern const char* const kQuoteMessage;

// Removes the first quoted name, its quotes and the one character after them
// from state.strCommand, and returns the name. Shows the quote message and
// ends the run when strCommand does not start with a complete quoted name.
std::string NextFileName(ConversionState& state, Host& host);

// Shows the quote message and ends the run as a user error.
[[noreturn]] void EndWithQuoteMessage(Host& host);

}  // namespace quillbit
