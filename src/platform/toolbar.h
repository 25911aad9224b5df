// toolbar.h - a row of image buttons across the top of a window's client
// area. A button's click sends its command to that window.
#pragma once

#include <span>

#include "platform/window_message.h"

namespace platform {

using ToolbarId = unsigned; // 0 is no toolbar

struct ToolbarButton {
    int image = -1; // index into the strip; -1 is a separator
    int command = 0;
};

// A toolbar of flat buttons without text or tooltips. `strip` is an XPM
// image (the caller's, alive for the whole run) holding the buttons' images
// side by side, each `imageSize` wide and as high as the strip. It goes with
// its window. 0 when `parent` is not a window.
ToolbarId createToolbar(WindowId parent, const char* const* strip, Size imageSize,
                        std::span<const ToolbarButton> buttons);
// Lays it across the top of the parent's client area at its own height, as
// after a change of the parent's size.
void autoSizeToolbar(ToolbarId toolbar);
int toolbarHeight(ToolbarId toolbar);

} // namespace platform
