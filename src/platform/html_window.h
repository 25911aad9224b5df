// html_window.h - a window of the layer's own that shows an HTML page, for a
// page the desktop has no program for (the help page).
#pragma once

#include <string>

#include "platform/window.h"

namespace platform {

// Shows the page at `path` in a window of its own over `owner`, titled with
// the page's title; while that window is open, a second call shows the page
// there again and brings it to the front. The window closes with its owner.
// 0 when the page cannot be read.
int showHtmlWindow(WindowId owner, const std::string& path);

} // namespace platform
