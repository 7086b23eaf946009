// Reads back a header quillbit wrote: strictly, so that only a file quillbit itself
// would write for some sprite is taken, and anything else is told apart clearly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "check/sprite.h"

namespace quillbit {

// Far more than the header of the largest sprite quillbit converts, names included.
constexpr std::size_t kLargestHeader = std::size_t{1} << 20;

struct HeaderContents {
  std::string base;   // the name of the arrays, as in "ship1[]"
  bool grey = false;  // two bitplanes
  Sprite sprite;
};

// The contents, or what makes the bytes no header quillbit wrote.
struct HeaderReading {
  std::optional<HeaderContents> contents;
  std::string problem;
};

// The first line of every header quillbit writes.
const std::string& HeaderBanner();

// True when bytes begin with the header banner.
bool StartsWithHeaderBanner(const std::string& bytes);

HeaderReading ReadQuillbitHeader(const std::string& bytes);

}  // namespace quillbit
