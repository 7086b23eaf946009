#include "analysis/picture_intake.h"

#include "analysis/bitplane_extraction.h"
#include "analysis/picture_limits.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

const char* const kWidthMessage =
    "Image Width must be evenly divisible by 8 for program to work properly.\r\n"
    "Please resize your image.";

}  // namespace

std::string SpriteTypeFor(Int16 width) {
  switch (width.get()) {
    case 8: return "8";
    case 16: return "16";
    case 32: return "32";
    default: return "other";
  }
}

std::string InformationText(const std::string& fileName, Int16 width, Int16 height,
                            const std::string& spriteType) {
  return "Quillbit - " + fileName + "\r\nDimensions: " + std::to_string(width.get()) + " by " +
         std::to_string(height.get()) + "\r\nSpriteType: " + spriteType;
}

void AnalyzePicture(ConversionState& state, Host& host, const std::string& path) {
  host.LoadPicture(path);
  CheckPictureLimits(path, host.ScaleWidth(), host.ScaleHeight());
  state.intHeight = Int16::Round(host.ScaleHeight());
  state.intWidth = Int16::Round(host.ScaleWidth());
  host.Refresh();

  const Int16 n = state.intWidth * state.intHeight;
  state.bytPlane1.ReDim(n);
  state.bytPlane2.ReDim(n);
  state.strSpriteType = SpriteTypeFor(state.intWidth);

  const std::string fileName = FsoFiles(state, host).GetFileName(path);
  host.MsgBox(InformationText(fileName, state.intWidth, state.intHeight, state.strSpriteType),
              MessageKind::Information);
  if (state.intWidth.get() % 8 != 0) {
    host.MsgBox(kWidthMessage, MessageKind::UserError);
    End(ExitStatus::UserError);
  }
  ExtractBitplanes(state, host);
}

}  // namespace quillbit
