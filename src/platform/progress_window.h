// progress_window.h - a small window telling how far a long task has come,
// with a cancel button.
//
// The task runs on the message thread and reports each step; a step updates
// the window and, every few hundredths of a second, handles the events
// waiting, so every window keeps painting and the cancel button can be
// pressed. The window is application-modal: while it is up no other window
// takes input, so nothing the task works on changes under it.
#pragma once

#include <functional>
#include <string>

#include "platform/window_message.h"

namespace platform {

using ProgressId = unsigned;

// Shows the window over `owner` with `title`, until closeProgress.
ProgressId openProgress(WindowId owner, const std::string& title);
// Shows `text` and a bar at `done` of `total`. False once the user has
// cancelled (the button, Esc or the close box); the task should then stop.
bool stepProgress(ProgressId progress, int done, int total, const std::string& text);
void closeProgress(ProgressId progress);

// Told after every step has been shown, with the window up; a test presses
// its cancel button from here. Returns the observer it replaces.
using ProgressObserver = std::function<void(ProgressId progress, int done, int total)>;
ProgressObserver setProgressObserver(ProgressObserver observer);

} // namespace platform
