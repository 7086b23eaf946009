// Draws a sprite as text: in colour on a terminal, in plain characters elsewhere.
#pragma once

#include <string>

#include "check/check_platform.h"
#include "check/sprite.h"

namespace quillbit {

enum class DrawingStyle {
  Plain,     // one character a pixel, for pipes, files, logs and plain terminals
  Terminal,  // half blocks in grey colours, two pixel rows a line
};

// The terminal drawing only where it shows: on a terminal that takes escape sequences
// and UTF-8, without NO_COLOR (set and not empty) and without TERM=dumb.
DrawingStyle ChooseDrawingStyle(const TerminalFacts& facts);

// The sprite followed by a legend of the four levels, every line ended by "\n".
std::string DrawSprite(const Sprite& sprite, DrawingStyle style);

}  // namespace quillbit
