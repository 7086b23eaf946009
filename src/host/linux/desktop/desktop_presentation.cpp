#include "host/linux/desktop/desktop_presentation.h"

#include <SDL.h>

#include <cstdlib>

namespace quillbit {

namespace {

constexpr Uint32 kRetryMilliseconds = 100;

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
  const std::string shown = WithLineFeeds(text);
  // SDL draws an X11 box in a child process, which now and then gives up at once on a
  // display that works (a few runs in a hundred under Xvfb) and tells the parent no reason:
  // one more try brings the box up rather than sending the messages to a terminal.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (SDL_ShowSimpleMessageBox(flags, "quillbit", shown.c_str(), nullptr) == 0) return true;
    if (!DisplayNamed()) break;
    SDL_Delay(kRetryMilliseconds);
  }
  // Without a display the terminal is the expected place; with one, a user looking at
  // the desktop would otherwise wait for a box that never comes.
  if (DisplayNamed()) why = SDL_GetError();
  return false;
}

}  // namespace quillbit
