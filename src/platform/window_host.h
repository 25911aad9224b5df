// window_host.h - the Qt side of the window layer, shared by the platform
// files that need a window's widgets (menus, dialogs, drawing). Nothing above
// platform/ includes it.
//
// Each window has a record keyed by its id. A top-level window is a
// FrameWidget holding the menu bar and a HostWidget for the client area; a
// child window is a HostWidget inside its parent's client. Widgets find their
// record by id on every event, so a window destroyed while an event is on
// its way is simply not told.
#pragma once

#include <QMargins>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <deque>
#include <map>
#include <optional>

#include "platform/window.h"

namespace platform {

// The painter of one Paint message.
struct PaintContext {
    QPainter* painter = nullptr;
    QRect area; // the part being painted, in the painter's coordinates; null: all
};

namespace detail {

struct WindowRecord {
    WindowId id = 0;
    WindowId parent = 0;
    WindowId owner = 0;
    WindowClass windowClass;
    WindowStyle style = WindowStyle::Captioned;
    QWidget* frame = nullptr;   // a FrameWidget, top-level windows only
    QWidget* client = nullptr;  // a HostWidget
    QWidget* menuBar = nullptr; // the attached menu bar, owned by menu.cpp's record
    unsigned menu = 0;          // its menu handle
    QMargins margins;           // frame margins seen last in a windowed style's normal state
    // A window rectangle asked for before the window system framed the window
    // in its present style (a new or re-styled window): the frame's margins
    // are known only then, so the rectangle is applied again on the first
    // exposure. `pendingMove`: its position counts too, not only its size.
    std::optional<QRect> pendingRect;
    bool pendingMove = false;
    QRegion eraseRegion;        // invalidated with erasing
    QRegion keepRegion;         // invalidated without erasing
    QRegion dirtyRegion;        // invalidated and not yet painted
    std::map<int, int> timers;  // timer id -> Qt timer id
    std::deque<int> queuedCommands; // posted and not yet run, oldest first
    CursorShape cursor = CursorShape::Arrow;
    // Shown maximised in the full-screen style: the layer itself covers the
    // screen (no window manager may be there to do it) and keeps the
    // geometry to return to.
    bool coversScreen = false;
    QRect normalGeometry;

    QWidget* outer() const { return frame ? frame : client; }
};

WindowRecord* findWindow(WindowId window);
// Runs the window's procedure with the message; 0 without a window or procedure.
int dispatch(WindowId window, MessageKind kind, const MessageParams& params);
// The top-level window's record that `window` lies in (itself for a top-level).
WindowRecord* topLevelOf(WindowId window);
// The widget of the window's client area; null when not a window.
QWidget* clientWidget(WindowId window);
// The top-level widget of the window (the frame), for dialogs' parents.
QWidget* frameWidget(WindowId window);
// Destroys every window left (top-level windows and their trees) and every
// menu, for the application's end.
void destroyAllWindows();
void destroyAllMenus();
// Re-lays the menu bar and the client area inside the frame.
void layOutFrame(WindowRecord& record);
// The frame's margins now, or the last ones seen in a windowed style's normal state.
QMargins marginsOf(WindowRecord& record);
// The frame was exposed: a pending rectangle is applied with the real margins.
void frameExposed(WindowRecord& record);
Qt::WindowFlags flagsFor(WindowStyle style);
Qt::CursorShape qtCursor(CursorShape shape);

QRect toQRect(const Rect& rect);
Rect fromQRect(const QRect& rect);

} // namespace detail
} // namespace platform
