// The two answers every terminal program owes: `--help` and `--version`. quillbit
// takes no options otherwise; a picture named like one is reached as ./--help.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/common/standard_streams.h"

namespace quillbit {

// The line after each program's version: who holds the copyright, under which licence.
inline constexpr char kCopyrightLine[] =
    "Copyright (c) 2026 the quillbit developers; MIT License, without warranty.\n";

// When the only argument is --help or --version, prints the usage or the version on
// standard output and gives the exit status; otherwise nothing.
std::optional<int> AnswerTerminalOption(const std::vector<std::string>& arguments,
                                        StandardStreams& streams = CStandardStreams());

}  // namespace quillbit
