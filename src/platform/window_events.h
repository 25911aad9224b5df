// window_events.h - the widgets of a window, which turn Qt's events into
// the messages of window_message.h, and the layer's own window move. Shared
// by the window layer's files only.
#pragma once

#include <QPoint>
#include <QWidget>

#include "platform/window.h"

namespace platform::detail {

// The client area of window `id`, inside `parent` (a frame or a parent's client).
QWidget* newHostWidget(WindowId id, QWidget* parent);
// The frame of top-level window `id`, owned by `owner` (null for none).
QWidget* newFrameWidget(WindowId id, QWidget* owner, Qt::WindowFlags flags);

// Queues command `id` for the procedure of the window whose client is `client`.
void postCommandEvent(QWidget* client, int id);

// The layer's own follow-the-mouse move, for window systems that refuse
// startSystemMove (the offscreen one among them): the frame of `window`,
// at `framePosition` now, follows the cursor from the last button press
// until the left button is released.
void startManualMove(WindowId window, QPoint framePosition);
// Ends that move when `window` is the one moving (it is going away).
void endManualMove(WindowId window);

} // namespace platform::detail
