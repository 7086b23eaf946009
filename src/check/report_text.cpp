#include "check/report_text.h"

#include "host/common/presentation.h"
#include "host/common/shown_text.h"

namespace quillbit {

namespace {

std::string OneLine(const std::string& message) {
  std::string line = WithLineFeeds(message);
  for (char& ch : line)
    if (ch == '\n') ch = ' ';
  return line;
}

std::string SpriteText(const Sprite& sprite, DrawingStyle style) {
  return DrawSprite(sprite, style) + LevelCountsText(CountLevels(sprite)) + "\n";
}

std::string HeaderStateText(const HeaderComparison& header) {
  const std::string shownPath = ControlsShown(header.path);
  switch (header.state) {
    case HeaderState::NotWrittenYet: return shownPath + ": not written yet\n";
    case HeaderState::UpToDate: return shownPath + ": up to date\n";
    case HeaderState::OutOfDate: break;
  }
  return shownPath + ": out of date: " + header.difference + "\n";
}

std::string PictureText(const std::string& path, const PictureCheck& check, DrawingStyle style) {
  std::string text =
      WithLineFeeds(MessageShown(check.information)) + "\n" + SpriteText(check.sprite, style);
  for (const std::string& finding : check.findings) text += ControlsShown(finding) + "\n";
  if (check.stop)
    text += ControlsShown(path + ": quillbit stops here: " + OneLine(*check.stop)) + "\n";
  if (check.header) text += HeaderStateText(*check.header);
  if (check.shorterName)
    text += check.shorterName->written +
            ": named so because quillbit replaces the last three "
            "characters; saved as " +
            check.shorterName->picture + ", the sprite gives " + check.shorterName->header + "\n";
  return text;
}

std::string Description(const HeaderContents& contents) {
  const std::string size =
      std::to_string(contents.sprite.width) + " by " + std::to_string(contents.sprite.height);
  if (contents.grey)
    return "a " + size + " sprite in two bitplanes, " + contents.base + "1 and " + contents.base +
           "2";
  return "a " + size + " sprite in one bitplane, " + contents.base;
}

std::string HeaderFileText(const std::string& path, const HeaderFileCheck& check,
                           DrawingStyle style) {
  if (!check.contents)
    return ControlsShown(path) + ": not a header quillbit wrote: " + check.problem + "\n";
  return ControlsShown(path) + ": " + Description(*check.contents) + "\n" +
         SpriteText(check.contents->sprite, style);
}

}  // namespace

ReportText RenderText(const CheckReport& report, DrawingStyle style) {
  ReportText text;
  if (report.picture) text.output = PictureText(report.path, *report.picture, style);
  if (report.header) text.output = HeaderFileText(report.path, *report.header, style);
  for (const std::string& reason : report.unreadable)
    text.error += "quillbit-check: " + ControlsShown(reason) + "\n";
  return text;
}

}  // namespace quillbit
