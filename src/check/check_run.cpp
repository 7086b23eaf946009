#include "check/check_run.h"

#include <new>

#include "check/file_check.h"
#include "check/report_json.h"
#include "check/report_text.h"
#include "host/common/shown_text.h"
#include "host/common/terminal_options.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

constexpr char kUsage[] =
    "Usage: quillbit-check [--json] [--] FILE...\n"
    "Shows each sprite as quillbit converts it and points out what would surprise you.\n"
    "\n"
    "For a picture: quillbit's three information lines, a drawing of the levels quillbit\n"
    "takes (one cell a pixel), the count of pixels per level, and every finding:\n"
    "  - an opaque colour close to black, dark grey or light grey but not exactly it,\n"
    "    which quillbit takes as background; close means that each of red, green and\n"
    "    blue lies within 24 of the level's (#555555: from #3D3D3D to #6D6D6D);\n"
    "  - pixels of a level's colour that are not fully opaque (alpha 1 to 254);\n"
    "  - a width that is not a multiple of 8, or a picture beyond quillbit's limits;\n"
    "  - a header beside the picture that differs from what quillbit writes now.\n"
    "A header not written yet is only mentioned.\n"
    "For a header quillbit wrote (a name ending in .h, or a file that starts with\n"
    "quillbit's banner): the sprite it holds, drawn the same way.\n"
    "\n"
    "On a terminal the drawing is in grey colours, two pixel rows a line, the background\n"
    "in white. Elsewhere, and with NO_COLOR set or TERM=dumb, it is one character a\n"
    "pixel: # black, + dark grey, - light grey, . background.\n"
    "\n"
    "With --json: the same report as data, one line of JSON a file, for scripts and\n"
    "editors (fields in quillbit-check(1)); what could not be read is in it too.\n"
    "\n"
    "Exit status: 0 every file converts exactly as drawn and no header beside a picture\n"
    "is out of date; 1 a finding, or a file that cannot be read; 2 a usage error.\n";

const std::string kVersion = std::string("quillbit-check " QUILLBIT_VERSION "\n") + kCopyrightLine;

struct Options {
  std::vector<std::string> paths;
  const char* answer = nullptr;  // --help or --version: printed instead of a check
  bool json = false;
  std::string wrong;  // a usage error
};

Options ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  bool optionsEnd = false;
  for (const std::string& argument : arguments) {
    if (optionsEnd || argument.size() < 2 || argument[0] != '-') {
      options.paths.push_back(argument);
    } else if (argument == "--") {
      optionsEnd = true;
    } else if (argument == "--help") {
      options.answer = kUsage;
    } else if (argument == "--version") {
      options.answer = kVersion.c_str();
    } else if (argument == "--json") {
      options.json = true;
    } else if (options.wrong.empty()) {
      options.wrong = "unknown option ";
      options.wrong += ControlsShown(argument);
      options.wrong += " (a file of that name is ./";
      options.wrong += ControlsShown(argument);
      options.wrong += ")";
    }
  }
  if (options.wrong.empty() && options.paths.empty()) options.wrong = "no files named";
  return options;
}

int Status(CheckStatus status) { return static_cast<int>(status); }

// Each report as it comes, so that a long list shows progress.
int CheckAll(CheckPlatform& platform, const Options& options) {
  const DrawingStyle style = ChooseDrawingStyle(platform.Terminal());
  bool clean = true;
  bool reported = false;  // a report stands on standard output, so the next is set apart
  for (const std::string& path : options.paths) {
    const CheckReport report = CheckFile(platform, path);
    clean = clean && report.Clean();
    if (options.json) {
      platform.Write(ReportJson(report) + "\n", Stream::Output);
      continue;
    }
    const ReportText text = RenderText(report, style);
    if (!text.output.empty()) {
      platform.Write(reported ? "\n" + text.output : text.output, Stream::Output);
      reported = true;
    }
    if (!text.error.empty()) platform.Write(text.error, Stream::Error);
  }
  return Status(clean ? CheckStatus::Clean : CheckStatus::Findings);
}

int Run(CheckPlatform& platform, const std::vector<std::string>& arguments) {
  const Options options = ParseOptions(arguments);
  if (options.answer) {
    platform.Write(options.answer, Stream::Output);
    return Status(CheckStatus::Clean);
  }
  if (!options.wrong.empty()) {
    platform.Write(
        "quillbit-check: " + options.wrong +
            "\nUsage: quillbit-check [--json] [--] FILE...; quillbit-check --help tells more\n",
        Stream::Error);
    return Status(CheckStatus::Usage);
  }
  return CheckAll(platform, options);
}

}  // namespace

const char* CheckUsage() { return kUsage; }

int RunCheck(CheckPlatform& platform, const std::vector<std::string>& arguments) {
  std::string failure;
  try {
    return Run(platform, arguments);
  } catch (const std::bad_alloc&) {
    failure = "out of memory";
  } catch (const std::exception& error) {  // the output itself failed
    failure = error.what();
  }
  try {
    platform.Write("quillbit-check: " + ControlsShown(failure) + "\n", Stream::Error);
  } catch (const std::exception&) {  // nowhere left to tell; the status says it
  }
  return Status(CheckStatus::Findings);
}

}  // namespace quillbit
