#include "check/file_check.h"

#include <cctype>
#include <vector>

#include "check/colour_findings.h"
#include "check/conversion_preview.h"
#include "check/header_reader.h"
#include "check/text_difference.h"
#include "host/common/presentation.h"
#include "host/common/report_texts.h"
#include "host/common/shown_text.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

const char* const kProgram = "quillbit-check: ";

bool NamedLikeHeader(const std::string& path) {
  return path.size() >= 2 && path[path.size() - 2] == '.' &&
         (path.back() == 'h' || path.back() == 'H');
}

bool IsHeader(CheckPlatform& platform, const std::string& path) {
  if (NamedLikeHeader(path)) return true;
  try {
    const auto start = platform.ReadFileStart(path, HeaderBanner().size());
    return start && StartsWithHeaderBanner(*start);
  } catch (const RunTimeError&) {
    return false;  // the picture reader gives quillbit's own report of it
  }
}

std::string OneLine(const std::string& message) {
  std::string line = WithLineFeeds(message);
  for (char& ch : line)
    if (ch == '\n') ch = ' ';
  return line;
}

// quillbit replaces a picture's last three characters with "h", so "hero.aseprite" gives
// "hero.aseprh"; the shorter extension Aseprite saves too gives the name people expect.
std::string AsepriteNameNote(const std::string& path, const std::string& headerPath) {
  const std::string extension = ".aseprite";
  if (path.size() <= extension.size()) return "";
  std::string end = path.substr(path.size() - extension.size());
  for (char& ch : end) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (end != extension) return "";
  const std::string stem = path.substr(0, path.size() - extension.size());
  return headerPath + ": named so because quillbit replaces the last three characters; saved as " +
         stem + ".ase, the sprite gives " + stem + ".h\n";
}

// Compares the header beside the picture with what quillbit writes now.
void AddHeaderState(FileReport& report, CheckPlatform& platform, const std::string& headerPath,
                    const std::string& text) {
  const std::string expected = platform.HeaderBytes(text);
  std::optional<std::string> existing;
  try {
    // A little more than quillbit writes, enough to show what follows its end.
    existing = platform.ReadFileStart(headerPath, expected.size() + 128);
  } catch (const RunTimeError& error) {
    report.error += kProgram + ControlsShown(error.what()) + "\n";
    report.clean = false;
    return;
  }
  const std::string shownPath = ControlsShown(headerPath);
  if (!existing) {
    report.output += shownPath + ": not written yet\n";
  } else if (*existing == expected) {
    report.output += shownPath + ": up to date\n";
  } else {
    report.output += shownPath + ": out of date: " + FirstDifference(expected, *existing) + "\n";
    report.clean = false;
  }
}

FileReport CheckPicture(CheckPlatform& platform, const std::string& path, DrawingStyle style) {
  const DecodedPicture picture = platform.LoadPicture(path);
  const ConversionPreview preview = PreviewConversion(picture, path, platform);
  FileReport report;
  report.output = WithLineFeeds(MessageShown(preview.information)) + "\n" +
                  DrawSprite(preview.sprite, style) + LevelCountsText(preview.sprite) + "\n";
  std::vector<std::string> findings = ColourFindings(picture, path);
  if (preview.stop) findings.push_back(path + ": quillbit stops here: " + OneLine(*preview.stop));
  for (const std::string& finding : findings) report.output += ControlsShown(finding) + "\n";
  report.clean = findings.empty();
  if (preview.headerPath) {
    AddHeaderState(report, platform, *preview.headerPath, preview.headerText);
    report.output += AsepriteNameNote(path, *preview.headerPath);
  }
  return report;
}

std::string Description(const HeaderContents& contents) {
  const std::string size =
      std::to_string(contents.sprite.width) + " by " + std::to_string(contents.sprite.height);
  if (contents.grey)
    return "a " + size + " sprite in two bitplanes, " + contents.base + "1 and " + contents.base +
           "2";
  return "a " + size + " sprite in one bitplane, " + contents.base;
}

FileReport CheckHeader(CheckPlatform& platform, const std::string& path, DrawingStyle style) {
  const std::optional<std::string> bytes = platform.ReadFileStart(path, kLargestHeader + 1);
  if (!bytes) throw RunTimeError(report_text::CannotReadHeader(path, report_text::kNoSuchHeader));
  const HeaderReading reading = bytes->size() > kLargestHeader
                                    ? HeaderReading{std::nullopt, "it is larger than any header"}
                                    : ReadQuillbitHeader(*bytes);
  if (!reading.contents)
    return {ControlsShown(path) + ": not a header quillbit wrote: " + reading.problem + "\n", "",
            false};
  const HeaderContents& contents = *reading.contents;
  return {ControlsShown(path) + ": " + Description(contents) + "\n" +
              DrawSprite(contents.sprite, style) + LevelCountsText(contents.sprite) + "\n",
          "", true};
}

}  // namespace

FileReport CheckFile(CheckPlatform& platform, const std::string& path, DrawingStyle style) {
  try {
    if (IsHeader(platform, path)) return CheckHeader(platform, path, style);
    return CheckPicture(platform, path, style);
  } catch (const RunTimeError& error) {
    return {"", kProgram + ControlsShown(error.what()) + "\n", false};
  }
}

}  // namespace quillbit
