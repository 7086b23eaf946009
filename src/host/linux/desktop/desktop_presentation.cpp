#include "host/linux/desktop/desktop_presentation.h"

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

bool DesktopPresentation::ShowBox(const std::string& text, MessageKind kind, std::string& why) {
  const Uint32 flags = kind == MessageKind::RunTimeError ? SDL_MESSAGEBOX_ERROR : 0;
  if (SDL_ShowSimpleMessageBox(flags, "quillbit", WithLineFeeds(text).c_str(), nullptr) == 0)
    return true;
  // Without a display the terminal is the expected place; with one, a user looking at
  // the desktop would otherwise wait for a box that never comes.
  if (DisplayNamed()) why = SDL_GetError();
  return false;
}

}  // namespace quillbit
