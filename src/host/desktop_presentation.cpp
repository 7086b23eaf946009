#include <SDL.h>

#include "host/sdl_host.h"

namespace quillbit {

void DesktopPresentation::Show(const std::string& text, MessageKind kind) {
  if (!boxesFailed_) {
    const Uint32 flags = kind == MessageKind::RunTimeError ? SDL_MESSAGEBOX_ERROR : 0;
    if (SDL_ShowSimpleMessageBox(flags, "quillbit", WithLineFeeds(text).c_str(), nullptr) == 0)
      return;
    boxesFailed_ = true;
  }
  terminal_.Show(text, kind);
}

}  // namespace quillbit
