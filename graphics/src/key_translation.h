// Turns one SDL keyboard event into the bytes it puts into the key queue.
// Kept apart from the event loop so it can be checked without a window.
#pragma once

#include <SDL2/SDL_events.h>

namespace gfx {

// What one event queues: nothing, one character code, or an extended key
// (0 followed by `code`).
struct KeyBytes {
  int count = 0;          // 0, 1 or 2 bytes
  bool extended = false;  // true: the bytes are 0 and `code`
  unsigned char code = 0;
};

// Printable characters come from SDL_TEXTINPUT (layout and Shift applied,
// Latin-1 only); Enter, Esc, Backspace, Tab, Ctrl+letter and the extended
// keys come from SDL_KEYDOWN. Every other event queues nothing.
KeyBytes TranslateKeyEvent(const SDL_Event& event);

}  // namespace gfx
