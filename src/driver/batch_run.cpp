#include "driver/batch_run.h"

#include <string>

#include "analysis/nibble_packing.h"
#include "analysis/picture_intake.h"
#include "driver/quoted_file_list.h"
#include "driver/state/conversion_state.h"
#include "header/header_file.h"
#include "host/run_end.h"

namespace quillbit {

const char* const kCompanionName = "Blitview.h";

namespace {

const char* const kNoArgumentsMessage =
    "Drag and drop image files onto the desktop icon to use this program.";

void ReadCommand(ConversionState& state, Host& host) {
  std::optional<std::string> command = host.Command();
  if (!command) EndWithQuoteMessage(host);
  state.strCommand = std::move(*command);
  if (state.strCommand.empty()) {
    host.MsgBox(kNoArgumentsMessage, MessageKind::UserError);
    End(ExitStatus::UserError);
  }
}

// Copies the companion beside the last picture unless one is already there.
// A bare file name has no folder part, so the companion goes to the current folder.
void InstallCompanion(ConversionState& state, Host& host, const std::string& last) {
  FileSystem& fso = FsoFiles(state, host);
  const std::string target = fso.BuildPath(fso.GetParentFolderName(last), kCompanionName);
  if (!fso.FileExists(target)) {
    fso.CopyFile(fso.BuildPath(host.AppPath(), kCompanionName), target, false);
  }
}

}  // namespace

void RunBatch(Host& host) {
  ConversionState state;
  ReadCommand(state, host);
  host.PreparePictureSurface();

  std::string last;
  while (!state.strCommand.empty()) {
    state.blnGrey = false;
    last = NextFileName(state, host);
    AnalyzePicture(state, host, last);
    PackPlanes(state);
    WriteHeaderFile(state, host, last);
  }
  InstallCompanion(state, host, last);
  End(ExitStatus::Done);
}

}  // namespace quillbit
