// Messages in Windows message boxes titled "quillbit", the terminal behind them for a
// run with no desktop or in a session nobody sees.
#pragma once

#include "host/common/box_presentation.h"

namespace quillbit {

class MessageBoxPresentation : public BoxPresentation {
 public:
  using BoxPresentation::BoxPresentation;

 protected:
  bool ShowBox(const std::string& text, MessageKind kind, std::string& why) override;
};

// The MessageBoxW style for a message: OK only, an error icon for the run-time error report.
unsigned MessageBoxStyle(MessageKind kind);

}  // namespace quillbit
