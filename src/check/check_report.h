// What quillbit-check finds in one file, as data. The text renderer (report_text.h) words it
// for a terminal or a log, the JSON writer (report_json.h) hands it to scripts and the page;
// a new field is this structure, those two and their golden files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "check/header_reader.h"
#include "check/sprite.h"

namespace quillbit {

// The header beside a picture against what quillbit writes now.
enum class HeaderState { NotWrittenYet, UpToDate, OutOfDate };

struct HeaderComparison {
  std::string path;
  HeaderState state = HeaderState::NotWrittenYet;
  std::string difference;  // for OutOfDate: where the bytes part, as FirstDifference words it
};

// A picture saved as *.aseprite gets a header named *.aseprh; saved as *.ase, *.h.
struct ShorterName {
  std::string written;  // "hero.aseprh"
  std::string picture;  // "hero.ase"
  std::string header;   // "hero.h"
};

struct PictureCheck {
  std::string information;                 // quillbit's information message, CR LF between lines
  Sprite sprite;                           // the levels quillbit takes
  std::vector<std::string> findings;       // each "path: ..."
  std::optional<std::string> stop;         // quillbit's message where it stops at this picture
  std::optional<HeaderComparison> header;  // where quillbit writes one
  std::optional<ShorterName> shorterName;
};

struct HeaderFileCheck {
  std::optional<HeaderContents> contents;  // a header quillbit wrote
  std::string problem;                     // otherwise: what makes it none
};

struct CheckReport {
  std::string path;
  std::optional<PictureCheck> picture;  // at most one of picture and header
  std::optional<HeaderFileCheck> header;
  std::vector<std::string> unreadable;  // what could not be read: the file, or its header

  // No finding, no header out of date, nothing unreadable.
  bool Clean() const;
};

}  // namespace quillbit
