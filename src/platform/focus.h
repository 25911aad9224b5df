// focus.h - which window has the keyboard.
#pragma once

#include "platform/window_message.h"

namespace platform {

// Brings the top-level window of `window` above the others, without moving
// or resizing it, activates it and gives its frame the keyboard.
void activateWindow(WindowId window);
// True when the frame of the top-level window `window` has the keyboard.
bool hasKeyboard(WindowId window);

} // namespace platform
