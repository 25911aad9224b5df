// picture_window.h - the picture window (class "CBMPWin"), the main
// window's one child, in which the pictures are drawn.
//
// It paints and sets the main window's title, hides or shows the cursor,
// scrolls a large normal-mode picture by dragging and at the screen edges
// in full screen, shows the menu bar while the mouse touches the top edge in
// full screen, turns pages by clicks in two-page mode and switches modes on
// a double-click. What it does to the document goes through the main
// window's commands or the layout.
#pragma once

#include "platform/window.h"

inline constexpr const char* kPictureWindowClass = "CBMPWin";

int pictureWindowProcedure(platform::WindowId window, platform::MessageKind kind,
                           const platform::MessageParams& params);
