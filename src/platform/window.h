// window.h - windows of registered classes whose procedures get the messages
// of window_message.h. Everything runs on the one thread of the message loop
// (application.h).
//
// A top-level window has a frame (its window rectangle, on the screen), an
// optional menu bar at its top (menu.h) and below that its client area,
// in which its children lie. Client coordinates start at the client's top-left.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/window_message.h"

namespace platform {

struct Colour {
    unsigned char red = 0, green = 0, blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

enum class CursorShape { Arrow, Wait, Hidden };

// A window icon in its large and small forms, each an XPM image as text
// rows (the caller's, alive for the whole run); null for none.
struct IconImages {
    const char* const* large = nullptr;
    const char* const* small = nullptr;
};

struct WindowClass {
    std::string name;
    WindowProcedure procedure = nullptr;
    Colour background;         // what erasing paints
    bool doubleClicks = false; // without them a second click is a second ButtonDown
    CursorShape cursor = CursorShape::Arrow;
    IconImages icon; // shown by the frames of top-level windows
};

// Registers (or replaces) the class of that name; 0 without a name or procedure.
int registerWindowClass(const WindowClass& windowClass);

// The frames a top-level window can have: a caption with the system buttons
// and sizing border; a sizing border without caption; none at all, covering
// the whole screen when shown maximised.
enum class WindowStyle { Captioned, CaptionLess, FullScreen };

inline constexpr int kDefaultPosition = -0x8000; // for left and top of createWindow

struct WindowCreation {
    std::string className;
    std::string title;
    WindowStyle style = WindowStyle::Captioned;
    Rect rect;           // window rectangle (screen) or, for a child, client rect in the parent
    WindowId parent = 0; // a child lies in its parent's client area
    WindowId owner = 0;  // a top-level window kept above and closed with its owner
    bool visible = false;
};

// Creates the window; its procedure gets Create before this returns. 0 for
// an unknown class or a parent that does not exist.
WindowId createWindow(const WindowCreation& creation);

// Sends Destroy to the window and then to its children, removes them and the
// menu bar attached to the window, and kills their timers. 0 when not a window.
int destroyWindow(WindowId window);
bool isWindow(WindowId window);
// Sends Close, as the user's close button does.
void closeWindow(WindowId window);

enum class ShowCommand { Hide, Show, ShowNoActivate, Normal, Maximised };
// Normal restores from maximised or full screen; Maximised on a FullScreen
// styled window covers the whole screen.
void showWindow(WindowId window, ShowCommand command);
bool isVisible(WindowId window);
bool isMaximised(WindowId window); // maximised or covering the screen

// Applies a frame style and places the window at `rect` (window rectangle);
// the full-screen style leaves the place to showWindow(Maximised).
void setWindowStyle(WindowId window, WindowStyle style, Rect rect);
WindowStyle windowStyle(WindowId window);

Rect clientRect(WindowId window); // (0, 0, client width, client height)
Rect windowRect(WindowId window); // screen; a child's is its client area on the screen
// A child's rectangle in its parent's client area; a top-level window's
// window rectangle.
Rect rectInParent(WindowId window);
// The rectangle a maximised or full-screen window returns to on Normal.
Rect normalWindowRect(WindowId window);
// Top-level: the window rectangle on the screen. Child: its rectangle in the
// parent's client area. `repaint` invalidates what moved.
void moveWindow(WindowId window, Rect rect, bool repaint = true);
Point clientToScreen(WindowId window, Point point);
Point screenToClient(WindowId window, Point point);
// The desktop without panels and task bars.
Rect workArea();
// The whole desktop, every screen of it.
Rect screenArea();

void setTitle(WindowId window, const std::string& title);
std::string title(WindowId window);
// 255 opaque ... 0 invisible (top-level windows).
void setOpacity(WindowId window, int alpha);

// Marks a part to be painted. With `erase` the part is filled with the
// class background before Paint; without it the old pixels stay under what
// the procedure paints. Parts exposed by the window system are always erased.
void invalidate(WindowId window, bool erase);
void invalidateRect(WindowId window, Rect rect, bool erase);
void invalidateRegion(WindowId window, std::span<const Rect> rects, bool erase);
// Paints the marked parts now.
void updateWindow(WindowId window);

// Moves the window with the mouse as a caption drag does, until the left
// button is released; call it while handling a left ButtonDown. Where the
// window system cannot, the layer follows the mouse itself.
void startSystemMove(WindowId window);

// Runs the procedure's Command now; 0 when there is no such window.
int sendCommand(WindowId window, int id);
// Queues the Command to run after the current message and those before it.
void postCommand(WindowId window, int id);
// The ids of the commands posted to the window that have not run yet, in
// the order they will run.
std::vector<int> queuedCommands(WindowId window);

// One timer per (window, id): setting it again restarts it with the new period.
void setTimer(WindowId window, int id, int periodMs);
void killTimer(WindowId window, int id);
bool hasTimer(WindowId window, int id);

// Drop messages for files dropped on the window.
void acceptDrops(WindowId window, bool accept);

void setCursorShape(WindowId window, CursorShape shape);
CursorShape cursorShape(WindowId window);
// The wait cursor over every window while `busy` (nesting counts).
void setBusyCursor(bool busy);

// The key and button state now, as the last input event left it.
unsigned inputState();
Point cursorScreenPosition();

} // namespace platform
