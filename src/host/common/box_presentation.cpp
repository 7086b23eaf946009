#include "host/common/box_presentation.h"

#include "host/common/shown_text.h"

namespace quillbit {

void BoxPresentation::Show(const std::string& text, MessageKind kind) {
  if (!boxesFailed_) {
    std::string why;
    if (ShowBox(MessageShown(text), kind, why)) return;
    boxesFailed_ = true;
    if (!why.empty())
      terminal_.Show("cannot show a message box (" + why + "); messages follow here",
                     MessageKind::RunTimeError);
  }
  terminal_.Show(text, kind);
}

}  // namespace quillbit
