// quillbit-check's report on one file as one line of JSON, for scripts, editors' plugins
// and the page. Its fields:
//   path        the file as named
//   kind        "picture", "header" or "unreadable"
//   information quillbit's information lines (a picture)
//   width, height, levels   the sprite: one digit a pixel, row by row from the top,
//               0 black, 1 dark grey, 2 light grey, 3 background
//   counts      pixels per level, keyed by the level's name
//   findings    each "path: ..." (a picture)
//   stop        the lines of quillbit's message where it stops at this picture
//   header      the header beside a picture: path, state ("not written yet", "up to date",
//               "out of date") and, out of date, difference
//   shorterName where a shorter extension gives the expected header name: written,
//               picture, header
//   arrays, bitplanes   a header quillbit wrote: the arrays' name and one or two planes
//   problem     a header quillbit did not write: why not
//   unreadable  what could not be read, each a sentence naming the file
#pragma once

#include <string>

#include "check/check_report.h"

namespace quillbit {

// Text that is no UTF-8 (a Linux file name may be any bytes) has each bad byte replaced
// with U+FFFD, so the line is always valid JSON.
std::string ReportJson(const CheckReport& report);

}  // namespace quillbit
