// window_message.h - what the window layer tells a window procedure.
#pragma once

#include <string>
#include <vector>

#include "platform/geometry.h"

namespace platform {

struct PaintContext; // drawing.h

using WindowId = unsigned; // 0 is no window

enum class MessageKind {
    Create,      // the window exists; sent before createWindow returns
    Close,       // the user (or closeWindow) asks to close; unhandled, the window is destroyed
    Destroy,     // the window is going; its children get theirs after it
    Paint,       // paint and paintRect
    Size,        // size: the new client size
    Command,     // id
    KeyDown,     // key, state
    Character,   // character, state; follows the KeyDown of a key that types one
    MouseMove,   // position, state
    ButtonDown,  // button, position, state
    ButtonUp,    // button, position, state
    DoubleClick, // button, position, state; only for classes that ask for them
    Wheel,       // wheelDelta, position, state; unhandled by a child, it goes to the parent
    Timer,       // id
    Drop,        // paths
};

enum class MouseButton { None, Left, Right, Middle, Extra1, Extra2 };

struct MessageParams {
    int id = 0;             // Command: the command id; Timer: the timer id
    int key = 0;            // KeyDown: a code of keys.h
    char32_t character = 0; // Character: the typed character
    Point position;         // mouse messages: client coordinates of the window
    Point screenPosition;   // mouse messages: the same point on the screen
    MouseButton button = MouseButton::None;
    int wheelDelta = 0;             // 120 per notch; positive is away from the user
    unsigned state = 0;             // InputState flags of keys.h when the message was made
    Size size;                      // Size
    std::vector<std::string> paths; // Drop: local paths, in the order dropped
    PaintContext* paint = nullptr;  // Paint: valid during the call only
    Rect paintRect;                 // Paint: the part to be painted
};

// A window procedure answers 1 when it handled the message, 0 to leave it to
// the layer's default handling (see MessageKind).
using WindowProcedure = int (*)(WindowId window, MessageKind kind, const MessageParams& params);

} // namespace platform
