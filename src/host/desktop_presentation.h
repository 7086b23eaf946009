// Messages in SDL message boxes, titled "quillbit"; falls back to the terminal
// when no box can be shown, so a run without a display never hangs or goes silent.
#pragma once

#include "host/presentation.h"

namespace quillbit {

class DesktopPresentation : public Presentation {
 public:
  void Show(const std::string& text, MessageKind kind) override;

 private:
  bool boxesFailed_ = false;
  TerminalPresentation terminal_;
};

}  // namespace quillbit
