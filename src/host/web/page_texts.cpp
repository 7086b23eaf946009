#include "host/web/page_texts.h"

#include "check/sprite.h"
#include "host/common/report_texts.h"

namespace quillbit {

namespace {

// "{black}", "{dark grey}", ...: the keys of the counts in quillbit-check's JSON.
std::array<std::string, kLevels.size()> LevelPlaces() {
  std::array<std::string, kLevels.size()> places;
  for (std::size_t i = 0; i < kLevels.size(); ++i)
    places[i] = std::string("{") + LevelName(kLevels[i]) + "}";
  return places;
}

}  // namespace

std::string PageTexts() {
  const std::string path = "{path}";
  const std::string reason = "{reason}";
  return "pictureReaderFailed\t" + report_text::PictureReaderFailed(path, reason) + "\n" +
         "cannotWrite\t" + report_text::Because(report_text::CannotWrite(path), reason) + "\n" +
         "levelCounts\t" + LevelCountsWording(LevelPlaces()) + "\n";
}

}  // namespace quillbit
