// Messages in modal boxes, with the terminal behind them: once a box cannot be shown
// (no display, a session nobody sees) the rest of the run goes to the terminal, so a
// run never hangs or goes silent. Each platform supplies the box.
#pragma once

#include <string>

#include "host/common/presentation.h"

namespace quillbit {

class BoxPresentation : public Presentation {
 public:
  explicit BoxPresentation(bool outputIsTerminal) : terminal_(outputIsTerminal) {}
  void Show(const std::string& text, MessageKind kind) final;

 protected:
  // Shows a box (its text with control characters shown escaped) and returns once it
  // is dismissed; false when none could be shown. A failure the user should hear of (a
  // display is there, yet no box came) is said in why; where no box was to be expected,
  // why stays empty.
  virtual bool ShowBox(const std::string& text, MessageKind kind, std::string& why) = 0;

 private:
  bool boxesFailed_ = false;
  TerminalPresentation terminal_;
};

}  // namespace quillbit
