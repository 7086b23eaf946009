#include "host/desktop_presentation.h"

#include <SDL.h>

#include <cstdlib>

namespace quillbit {

namespace {

bool DisplayNamed() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

void DesktopPresentation::Show(const std::string& text, MessageKind kind) {
  if (!boxesFailed_) {
    const Uint32 flags = kind == MessageKind::RunTimeError ? SDL_MESSAGEBOX_ERROR : 0;
    if (SDL_ShowSimpleMessageBox(flags, "quillbit", WithLineFeeds(text).c_str(), nullptr) == 0)
      return;
    boxesFailed_ = true;
    // Without a display the terminal is the expected place; with one, a user looking at
    // the desktop would otherwise wait for a box that never comes.
    if (DisplayNamed())
      terminal_.Show(
          std::string("cannot show a message box (") + SDL_GetError() + "); messages follow here",
          MessageKind::RunTimeError);
  }
  terminal_.Show(text, kind);
}

}  // namespace quillbit
