#include "check/file_check.h"

#include <cctype>
#include <optional>

#include "check/colour_findings.h"
#include "check/conversion_preview.h"
#include "check/header_reader.h"
#include "check/text_difference.h"
#include "host/common/report_texts.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

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

// quillbit replaces a picture's last three characters with "h", so "hero.aseprite" gives
// "hero.aseprh"; the shorter extension Aseprite saves too gives the name people expect.
std::optional<ShorterName> AsepriteShorterName(const std::string& path,
                                               const std::string& headerPath) {
  const std::string extension = ".aseprite";
  if (path.size() <= extension.size()) return std::nullopt;
  std::string end = path.substr(path.size() - extension.size());
  for (char& ch : end) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (end != extension) return std::nullopt;
  const std::string stem = path.substr(0, path.size() - extension.size());
  return ShorterName{headerPath, stem + ".ase", stem + ".h"};
}

// The header beside the picture against what quillbit writes now; nullopt when it cannot
// be read, which the report then names.
std::optional<HeaderComparison> CompareHeader(CheckReport& report, CheckPlatform& platform,
                                              const std::string& headerPath,
                                              const std::string& text) {
  const std::string expected = platform.HeaderBytes(text);
  std::optional<std::string> existing;
  try {
    // A little more than quillbit writes, enough to show what follows its end.
    existing = platform.ReadFileStart(headerPath, expected.size() + 128);
  } catch (const RunTimeError& error) {
    report.unreadable.emplace_back(error.what());
    return std::nullopt;
  }
  if (!existing) return HeaderComparison{headerPath, HeaderState::NotWrittenYet, ""};
  if (*existing == expected) return HeaderComparison{headerPath, HeaderState::UpToDate, ""};
  return HeaderComparison{headerPath, HeaderState::OutOfDate, FirstDifference(expected, *existing)};
}

void CheckPicture(CheckReport& report, CheckPlatform& platform) {
  const DecodedPicture picture = platform.LoadPicture(report.path);
  ConversionPreview preview = PreviewConversion(picture, report.path, platform);
  PictureCheck& check = report.picture.emplace();
  check.information = std::move(preview.information);
  check.sprite = std::move(preview.sprite);
  check.findings = ColourFindings(picture, report.path);
  check.stop = std::move(preview.stop);
  if (preview.headerPath) {
    check.header = CompareHeader(report, platform, *preview.headerPath, preview.headerText);
    check.shorterName = AsepriteShorterName(report.path, *preview.headerPath);
  }
}

void CheckHeader(CheckReport& report, CheckPlatform& platform) {
  const std::optional<std::string> bytes = platform.ReadFileStart(report.path, kLargestHeader + 1);
  if (!bytes)
    throw RunTimeError(report_text::CannotReadHeader(report.path, report_text::kNoSuchHeader));
  HeaderReading reading = bytes->size() > kLargestHeader
                              ? HeaderReading{std::nullopt, "it is larger than any header"}
                              : ReadQuillbitHeader(*bytes);
  report.header = HeaderFileCheck{std::move(reading.contents), std::move(reading.problem)};
}

}  // namespace

CheckReport CheckFile(CheckPlatform& platform, const std::string& path) {
  CheckReport report;
  report.path = path;
  try {
    if (IsHeader(platform, path)) {
      CheckHeader(report, platform);
    } else {
      CheckPicture(report, platform);
    }
  } catch (const RunTimeError& error) {  // thrown before any part of the report was filled
    report.unreadable.emplace_back(error.what());
  }
  return report;
}

bool CheckReport::Clean() const {
  if (!unreadable.empty()) return false;
  if (header) return header->contents.has_value();
  return picture && picture->findings.empty() && !picture->stop &&
         !(picture->header && picture->header->state == HeaderState::OutOfDate);
}

}  // namespace quillbit
