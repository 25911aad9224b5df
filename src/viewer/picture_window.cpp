#include "viewer/picture_window.h"

#include "platform/drawing.h"
#include "platform/keys.h"
#include "platform/memory_block.h"
#include "resources/command_ids.h"
#include "viewer/reduced_pictures.h"
#include "viewer/view_layout.h"
#include "viewer/viewer.h"
#include "viewer/window_title.h"

namespace {

using platform::MessageKind;
using platform::MessageParams;
using platform::MouseButton;
using platform::Point;

constexpr unsigned kButtons = platform::kLeftButtonHeld | platform::kRightButtonHeld;
// Touching the screen edge: this many pixels from it.
constexpr int kEdge = 10;

void command(int id) {
    platform::sendCommand(viewer().mainWindow, id);
}

void drawPicture(platform::PaintContext* paint, const PictureBuffer& picture, Point origin,
                 int width, int height) {
    if (!picture.headerBlock || !picture.bitsBlock) return;
    if (const platform::ReducedPicture* reduced = reducedPicture(picture, {width, height})) {
        platform::drawReduced(paint, *reduced, origin);
        return;
    }
    platform::drawDibStretched(paint, platform::lockBlock(picture.headerBlock),
                               platform::blockSize(picture.headerBlock),
                               platform::lockBlock(picture.bitsBlock),
                               platform::blockSize(picture.bitsBlock),
                               platform::rectAt(origin.x, origin.y, width, height),
                               platform::rectAt(0, 0, picture.width, picture.height));
}

// The picture's own rows, unscaled.
void blitPicture(platform::PaintContext* paint, const PictureBuffer& picture) {
    platform::blitSurface(paint, 0, 0, platform::lockBlock(picture.bitsBlock), picture.width,
                          picture.height, picture.stride,
                          platform::blockSize(picture.bitsBlock));
}

// The shown pictures: the screen bitmap the engines composed, the picture's
// own rows, or the platform stretch (also for a zoom too large for a screen
// bitmap).
void drawShown(platform::PaintContext* context) {
    Viewer& v = viewer();
    const ViewLayout& layout = v.layout;
    const bool engine = v.mode().engine != 0;
    if (engine && v.screen.bits) {
        platform::blitSurface(context, 0, 0, v.screen.bits, v.screen.width, v.screen.height,
                              v.screen.stride(),
                              static_cast<std::size_t>(v.screen.stride()) *
                                  static_cast<std::size_t>(v.screen.height));
        return;
    }
    if (engine && showsUnscaled(v.document.main)) {
        blitPicture(context, v.document.main);
        return;
    }
    drawPicture(context, v.document.main, layout.firstOrigin, layout.displayWidth,
                layout.displayHeight);
    if (layout.shownCount == 2 && !v.normalMode())
        drawPicture(context, v.document.second, layout.secondOrigin, layout.secondDisplayWidth,
                    layout.secondDisplayHeight);
}

// With nothing shown the black background stays; the title is set either way.
void paint(platform::PaintContext* context) {
    Viewer& v = viewer();
    const std::string title = windowTitle();
    if (v.layout.shownCount) drawShown(context);
    if (platform::title(v.mainWindow) != title) platform::setTitle(v.mainWindow, title);
}

void setCursor(platform::WindowId window) {
    platform::setCursorShape(window, viewer().mode().hidecursor ? platform::CursorShape::Hidden
                                                                : platform::CursorShape::Arrow);
}

// Full screen: the menu bar shows while the cursor touches the top edge and
// hides again once it is back in the picture.
void autoMenu(Point p) {
    Viewer& v = viewer();
    if (p.y < kEdge && !v.settings.MENU) {
        command(cmd::ToggleMenu);
        v.mouse.menuShownByHover = true;
    } else if (p.y > 0 && v.mouse.menuShownByHover) {
        command(cmd::ToggleMenu);
        v.mouse.menuShownByHover = false;
    }
}

void edgeScroll(Point p, unsigned state, platform::Size client) {
    Viewer& v = viewer();
    const ViewLayout& layout = v.layout;
    if (layout.displayWidth <= client.width && layout.displayHeight <= client.height) return;
    if (state & kButtons) return;
    const int step = state & platform::kControlHeld ? 128 : 32;
    const bool automenu = v.mode().automenu != 0;
    if ((p.y < kEdge && (!automenu || v.settings.MENU)) ||
        (p.y >= kEdge && p.y < 2 * kEdge && automenu))
        scrollBy(0, step);
    else if (p.y > client.height - kEdge)
        scrollBy(0, -step);
    if (p.x < kEdge)
        scrollBy(step, 0);
    else if (p.x > client.width - kEdge)
        scrollBy(-step, 0);
}

// One axis of a drag: measured from the press, held so that no gap opens.
int draggedAxis(int scroll, int moved, int client, int display) {
    if (client > display) return (client - display) / 2;
    int position = scroll + moved;
    if (position < 0 && position + display < client)
        position = client - display;
    else if (position > 0)
        position = 0;
    return position;
}

void drag(Point p, bool rightButton, platform::Size client) {
    Viewer& v = viewer();
    const ViewLayout& layout = v.layout;
    const int k = rightButton ? 1 : 3;
    const Point anchor = v.mouse.dragAnchor;
    const int x = draggedAxis(layout.scrollX, k * (p.x - anchor.x), client.width,
                              layout.displayWidth);
    const int y = draggedAxis(layout.scrollY, k * (p.y - anchor.y), client.height,
                              layout.displayHeight);
    platform::moveWindow(v.pictureWindow,
                         platform::rectAt(x, y, layout.displayWidth, layout.displayHeight), false);
    if (rightButton)
        platform::invalidate(v.pictureWindow, false);
    else
        platform::invalidateRegion(v.pictureWindow, layout.backgroundRegion, false);
    platform::updateWindow(v.pictureWindow);
}

void mouseMoveNormal(const MessageParams& params) {
    Viewer& v = viewer();
    const Point p = platform::screenToClient(v.mainWindow, params.screenPosition);
    const platform::Rect clientRect = platform::clientRect(v.mainWindow);
    const platform::Size client{clientRect.width(), clientRect.height()};
    if (v.layout.fullScreen && v.mode().autoscroll) {
        if (v.mode().automenu) autoMenu(p);
        edgeScroll(p, params.state, client);
    }
    const unsigned buttons = params.state & ~platform::kAltHeld;
    if (v.mouse.dragActive &&
        (buttons == platform::kRightButtonHeld || buttons == platform::kLeftButtonHeld)) {
        drag(p, buttons == platform::kRightButtonHeld, client);
        return;
    }
    v.mouse.dragAnchor = p;
    const platform::Rect placed = platform::rectInParent(v.pictureWindow);
    v.layout.scrollX = placed.left;
    v.layout.scrollY = placed.top;
}

void mouseMove(platform::WindowId window, const MessageParams& params) {
    Viewer& v = viewer();
    setCursor(window);
    if (v.normalMode()) {
        mouseMoveNormal(params);
        return;
    }
    if (v.layout.fullScreen && v.mode().automenu) autoMenu(params.position);
}

// The picture point under (x, y) of the main client area, for the next
// full-screen normal layout to centre on.
void mapToViewCentre(Point point) {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    const double zoom = layout.zoomLocked ? kZoomSteps[layout.zoomIndex] : 1.0;
    auto mapped = [&](const PictureBuffer& picture, Point origin, int width, int height) {
        const double sx = width ? picture.width * zoom / width : 0.0;
        const double sy = height ? picture.height * zoom / height : 0.0;
        return Point{static_cast<int>((point.x - origin.x) * sx),
                     static_cast<int>((point.y - origin.y) * sy)};
    };
    Point centre;
    if (point.x > layout.firstOrigin.x && point.x < layout.firstOrigin.x + layout.displayWidth)
        centre = mapped(v.document.main, layout.firstOrigin, layout.displayWidth,
                        layout.displayHeight);
    else if (layout.shownCount == 2 && point.x > layout.secondOrigin.x &&
             point.x < layout.secondOrigin.x + layout.secondDisplayWidth)
        centre = mapped(v.document.second, layout.secondOrigin, layout.secondDisplayWidth,
                        layout.secondDisplayHeight);
    layout.pendingViewCentre = {centre, true};
}

void doubleClick(const MessageParams& params) {
    Viewer& v = viewer();
    if (!v.settings.dblmode) return;
    const Point p = platform::screenToClient(v.mainWindow, params.screenPosition);
    if (v.normalMode()) {
        command(cmd::TwoPageMode);
        mapToViewCentre(p);
        return;
    }
    if (v.layout.shownCount == 2) {
        mapToViewCentre(p);
        const int half = platform::clientRect(v.mainWindow).width() / 2;
        v.document.keepFirstOfSpread = v.settings.RightorLeft ? p.x >= half : p.x < half;
    }
    command(cmd::NormalMode);
}

void buttonDown(const MessageParams& params) {
    Viewer& v = viewer();
    const bool clickPage = !v.normalMode() && v.mode().clickpage;
    switch (params.button) {
    case MouseButton::Left:
        if (v.layout.fullScreen)
            v.mouse.dragActive = true;
        else
            platform::startSystemMove(v.mainWindow);
        if (clickPage) command(cmd::NextPage);
        break;
    case MouseButton::Right:
        if (clickPage) command(cmd::PreviousPage);
        v.mouse.dragActive = true;
        break;
    case MouseButton::Middle:
        command(cmd::FullScreen);
        break;
    case MouseButton::Extra1:
        v.mouse.xButtonArmed = true;
        break;
    case MouseButton::Extra2:
        command(cmd::ShowCatalog);
        break;
    case MouseButton::None:
        break;
    }
}

void buttonUp(const MessageParams& params) {
    Viewer& v = viewer();
    if (params.button == MouseButton::Left || params.button == MouseButton::Right)
        v.mouse.dragActive = false;
    if (params.button == MouseButton::Extra1) {
        const bool armed = v.mouse.xButtonArmed;
        v.mouse.xButtonArmed = false;
        if (armed) command(cmd::PageSelect);
    }
}

} // namespace

int pictureWindowProcedure(platform::WindowId window, MessageKind kind,
                           const MessageParams& params) {
    switch (kind) {
    case MessageKind::Paint:
        paint(params.paint);
        return 1;
    case MessageKind::MouseMove:
        mouseMove(window, params);
        return 1;
    case MessageKind::ButtonDown:
        buttonDown(params);
        return 1;
    case MessageKind::ButtonUp:
        buttonUp(params);
        return 1;
    case MessageKind::DoubleClick:
        if (params.button == MouseButton::Left) doubleClick(params);
        return 1;
    default:
        return 0;
    }
}
