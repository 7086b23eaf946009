// Messages in Windows message boxes titled "quillbit"; falls back to the terminal when
// no box can be shown (no desktop, a service session), so a run never goes silent.
#pragma once

#include "host/presentation.h"

namespace quillbit {

class MessageBoxPresentation : public Presentation {
 public:
  void Show(const std::string& text, MessageKind kind) override;

 private:
  bool boxesFailed_ = false;
  TerminalPresentation terminal_;
};

// The MessageBoxW style for a message: OK only, an error icon for the run-time error report.
unsigned MessageBoxStyle(MessageKind kind);

}  // namespace quillbit
