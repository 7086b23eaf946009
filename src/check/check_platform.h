// What quillbit-check needs from the platform it runs on. Everything else of the check
// is plain C++ over bytes and pixels; src/host/<platform>/check/ supplies this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace quillbit {

// A picture as quillbit's reader decoded it.
struct DecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // 0xAARRGGBB, row by row from the top
  // What composing its layers did to its levels, in the reader's words (Picture::notes).
  std::vector<std::string> notes;
};

// What the platform knows about where standard output goes.
struct TerminalFacts {
  bool isTerminal = false;             // standard output is a terminal or console
  bool takesEscapes = false;           // it draws colour escape sequences
  bool takesUtf8 = false;              // it shows UTF-8 text
  std::optional<std::string> noColor;  // NO_COLOR, when set
  std::optional<std::string> term;     // TERM, when set
};

enum class Stream { Output, Error };

class CheckPlatform {
 public:
  virtual ~CheckPlatform() = default;
  // The picture at path, read by the reader quillbit uses here, with the same limits;
  // throws quillbit's own run-time error when it cannot be read.
  virtual DecodedPicture LoadPicture(const std::string& path) = 0;
  // At most limit bytes from the start of the file at path; nullopt when no file is
  // there. Throws a run-time error naming path when it is there but cannot be read.
  virtual std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit) = 0;
  // Path names as quillbit forms them on this platform.
  virtual std::unique_ptr<FileSystem> CreateFileSystem() = 0;
  // The bytes quillbit puts on disk for a header of this text.
  virtual std::string HeaderBytes(const std::string& text) = 0;
  virtual TerminalFacts Terminal() = 0;
  // Writes text at once; throws a run-time error when it cannot.
  virtual void Write(const std::string& text, Stream stream) = 0;
};

}  // namespace quillbit
