// Messages in SDL message boxes titled "quillbit", the terminal behind them.
#pragma once

#include "host/common/box_presentation.h"

namespace quillbit {

class DesktopPresentation : public BoxPresentation {
 public:
  using BoxPresentation::BoxPresentation;

 protected:
  bool ShowBox(const std::string& text, MessageKind kind, std::string& why) override;
};

}  // namespace quillbit
