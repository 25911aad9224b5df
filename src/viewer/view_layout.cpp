#include "viewer/view_layout.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "picture/pipeline.h"
#include "picture/scaling.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "resources/command_ids.h"
#include "viewer/reduced_pictures.h"
#include "viewer/viewer.h"
#include "viewer/window_title.h"

namespace {

platform::Size clientSize() {
    const platform::Rect client = platform::clientRect(viewer().mainWindow);
    return {client.width(), client.height()};
}

platform::Size displaySize() {
    const ViewLayout& layout = viewer().layout;
    return {layout.displayWidth, layout.displayHeight};
}

platform::Size pictureSize(const PictureBuffer& picture) {
    return {picture.width, picture.height};
}

void movePictureWindow(bool repaint) {
    Viewer& v = viewer();
    platform::moveWindow(v.pictureWindow,
                         platform::rectAt(v.layout.scrollX, v.layout.scrollY, v.layout.displayWidth,
                                          v.layout.displayHeight),
                         repaint);
}

void centreInClient() {
    ViewLayout& layout = viewer().layout;
    const platform::Size client = clientSize();
    layout.scrollX = centredScroll(client.width, layout.displayWidth);
    layout.scrollY = centredScroll(client.height, layout.displayHeight);
}

// Normal mode: the main window is resized so that its client area is the
// displayed size, held inside the work area.
void fitMainWindowToDisplay() {
    Viewer& v = viewer();
    const platform::Rect window = platform::windowRect(v.mainWindow);
    const platform::Size client = clientSize();
    const platform::Size frame{window.width() - client.width, window.height() - client.height};
    platform::moveWindow(v.mainWindow,
                         windowRectForDisplay(window, frame, displaySize(), platform::workArea(),
                                              v.settings.MENU != 0),
                         true);
}

// A screen bitmap larger than this (a big page zoomed far in) is not made:
// the picture window then stretches through the platform, which works only
// on the part inside the window.
constexpr std::int64_t kMaxScreenPixels = std::int64_t(8192) * 8192;

// The view the normal-mode screen bitmap is composed for now.
ComposedView composedView() {
    const Viewer& v = viewer();
    ComposedView view;
    const PageOrigin& origin = v.document.mainOrigin;
    if (!origin.processed || origin.key.index < 0) return view;
    const ModeSettings& mode = v.settings.modes[kNormalMode];
    view.page = origin.key;
    view.display = displaySize();
    view.engines[0] = mode.kakudai;
    view.engines[1] = mode.syukusyou;
    view.engines[2] = mode.kakusyuku;
    return view;
}

// The screen bitmap a step replaces is kept as the view left; a step back
// to that view takes it again instead of scaling the page once more.
void rebuildNormalScreen() {
    Viewer& v = viewer();
    if (!v.settings.modes[kNormalMode].engine) return;
    const std::int64_t pixels = std::int64_t(v.layout.displayWidth) * v.layout.displayHeight;
    if (showsUnscaled(v.document.main) || pixels > kMaxScreenPixels) {
        v.screen.destroy();
        return;
    }
    // Without a budget for views left, none is kept, its screen neither.
    const ComposedView wanted = v.keptPages.budget() ? composedView() : ComposedView{};
    const bool known = wanted.page.index >= 0;
    if (!v.screen.bits || (known && v.screenShows == wanted)) {
        if (v.screen.bits) return;
        v.screenShows = {};
    }
    std::swap(v.screen, v.screenLeft);
    std::swap(v.screenShows, v.screenLeftShows);
    if (known && v.screen.bits && v.screenShows == wanted) return;
    composeScreen(v.layout.displayWidth, v.layout.displayHeight);
    v.screenShows = wanted;
}

void repaintNormal() {
    Viewer& v = viewer();
    platform::invalidate(v.pictureWindow, false);
    platform::updateWindow(v.pictureWindow);
    platform::invalidate(v.mainWindow, true);
    platform::updateWindow(v.mainWindow);
}

void repaintTwoPage() {
    Viewer& v = viewer();
    platform::invalidate(v.pictureWindow, false);
    platform::updateWindow(v.pictureWindow);
    platform::invalidateRegion(v.pictureWindow, v.layout.backgroundRegion, true);
    platform::updateWindow(v.pictureWindow);
}

void scalePicture(PictureBuffer& picture, const ModeSettings& mode, platform::Point origin,
                  platform::Size display) {
    Viewer& v = viewer();
    setEngines(picture, mode.kakudai, mode.syukusyou, mode.kakusyuku);
    scaleInto(picture, v.screen.bits, origin.x, origin.y, display.width, display.height,
              v.screen.width, v.screen.height);
}

void applyZoom(const std::optional<ZoomStep>& step) {
    if (!step) return;
    ViewLayout& layout = viewer().layout;
    layout.zoomIndex = step->zoomIndex;
    layout.scrollX = step->scroll.x;
    layout.scrollY = step->scroll.y;
    layout.displayWidth = step->display.width;
    layout.displayHeight = step->display.height;
    layoutNormalZoom();
}

// Zoom commands act only in normal mode with a picture shown.
bool canZoom() {
    const Viewer& v = viewer();
    return v.normalMode() && v.layout.shownCount;
}

} // namespace

void layoutNormal() {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    const platform::Size client = clientSize();
    if (!layout.zoomLocked) layout.zoomIndex = kActualSizeZoom;
    const platform::Size display =
        normalDisplaySize(pictureSize(v.document.main), client, v.settings.PICTUREMODE,
                          layout.zoomLocked, layout.zoomIndex);
    layout.displayWidth = display.width;
    layout.displayHeight = display.height;
    layout.shownCount = 1;
    layout.firstOrigin = {0, 0};
    layout.backgroundRegion = {platform::rectAt(0, 0, display.width, display.height)};

    if (layout.fullScreen) {
        if (layout.pendingViewCentre.pending) {
            layout.pendingViewCentre.pending = false;
            centreOn(layout.pendingViewCentre.point.x, layout.pendingViewCentre.point.y, false);
            return;
        }
        if (v.settings.rotmove && lastRotation == 1) {
            centreOn(display.width, display.height, false); // the bottom-right corner
            return;
        }
        if (v.settings.rotmove && lastRotation == 2) {
            centreOn(0, display.height, false); // the bottom-left corner
            return;
        }
        centreInClient();
        movePictureWindow(false);
        return;
    }
    layout.scrollX = layout.scrollY = 0;
    if (!v.settings.modesizech && !platform::isMaximised(v.mainWindow)) {
        movePictureWindow(false);
        fitMainWindowToDisplay();
        return;
    }
    // Centred in a window that keeps its size; relayoutAndRepaint repaints both.
    centreInClient();
    movePictureWindow(false);
}

void layoutNormalZoom() {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    layout.shownCount = 1;
    layout.firstOrigin = {0, 0};
    layout.backgroundRegion = {platform::rectAt(0, 0, layout.displayWidth, layout.displayHeight)};
    const platform::Size client = clientSize();
    if (layout.fullScreen) {
        if (client.width > layout.displayWidth)
            layout.scrollX = centredScroll(client.width, layout.displayWidth);
        if (client.height > layout.displayHeight)
            layout.scrollY = centredScroll(client.height, layout.displayHeight);
        movePictureWindow(false);
        rebuildNormalScreen();
    } else {
        movePictureWindow(false);
        rebuildNormalScreen();
        if (platform::isMaximised(v.mainWindow)) {
            centreInClient();
            movePictureWindow(false);
            repaintNormal();
            return;
        }
        fitMainWindowToDisplay();
    }
    repaintNormal();
}

void layoutTwoPage() {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    const platform::Size client = clientSize();
    std::optional<platform::Size> second;
    if (layout.shownCount == 2) second = pictureSize(v.document.second);
    const TwoPagePlacement placement =
        placeTwoPage(client, pictureSize(v.document.main), second, v.settings.picturemode,
                     v.settings.RightorLeft != 0);
    layout.displayWidth = placement.first.width;
    layout.displayHeight = placement.first.height;
    layout.firstOrigin = placement.firstOrigin;
    std::vector<platform::Rect> covered{platform::rectAt(
        placement.firstOrigin.x, placement.firstOrigin.y, placement.first.width,
        placement.first.height)};
    if (second) {
        layout.secondDisplayWidth = placement.second.width;
        layout.secondDisplayHeight = placement.second.height;
        layout.secondOrigin = placement.secondOrigin;
        covered.push_back(platform::rectAt(placement.secondOrigin.x, placement.secondOrigin.y,
                                           placement.second.width, placement.second.height));
    }
    layout.backgroundRegion =
        subtractRects(platform::rectAt(0, 0, client.width, client.height), covered);
    if (v.settings.modes[kTwoPageMode].engine) composeScreen(client.width, client.height);
}

bool showsUnscaled(const PictureBuffer& picture) {
    const Viewer& v = viewer();
    return v.normalMode() && picture.bitCount == 24 && picture.isHandled() &&
           v.layout.displayWidth == picture.width && v.layout.displayHeight == picture.height;
}

void relayoutAndRepaint() {
    Viewer& v = viewer();
    if (v.layout.deferPainting) {
        v.layout.paintingOwed = true;
        platform::setTitle(v.mainWindow, windowTitle());
        return;
    }
    v.layout.paintingOwed = false;
    pruneReduced();
    if (v.normalMode()) {
        layoutNormal();
        rebuildNormalScreen();
        repaintNormal();
        return;
    }
    layoutTwoPage();
    repaintTwoPage();
}

void composeScreen(int width, int height) {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    v.screenShows = {};
    v.screen.resize(width, height);
    if (!v.screen.bits) return;
    const ModeSettings& mode = v.mode();
    scalePicture(v.document.main, mode, layout.firstOrigin, displaySize());
    if (!v.normalMode() && layout.shownCount == 2)
        scalePicture(v.document.second, mode, layout.secondOrigin,
                     {layout.secondDisplayWidth, layout.secondDisplayHeight});
}

void centreOn(int px, int py, bool repaint) {
    ViewLayout& layout = viewer().layout;
    const platform::Size client = clientSize();
    layout.scrollX = centreOnScroll(client.width, layout.displayWidth, px);
    layout.scrollY = centreOnScroll(client.height, layout.displayHeight, py);
    movePictureWindow(repaint);
}

void scrollBy(int dx, int dy) {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    const platform::Size client = clientSize();
    if (layout.displayWidth < client.width && layout.displayHeight < client.height) return;
    layout.scrollX = scrollByAxis(layout.scrollX, dx, client.width, layout.displayWidth);
    layout.scrollY = scrollByAxis(layout.scrollY, dy, client.height, layout.displayHeight);
    movePictureWindow(false);
    platform::invalidateRegion(v.pictureWindow, layout.backgroundRegion, false);
    platform::updateWindow(v.pictureWindow);
}

void zoomIn() {
    if (!canZoom()) return;
    const ViewLayout& layout = viewer().layout;
    applyZoom(::zoomIn(layout.zoomIndex, {layout.scrollX, layout.scrollY},
                       pictureSize(viewer().document.main), clientSize()));
}

void zoomOut() {
    if (!canZoom()) return;
    const ViewLayout& layout = viewer().layout;
    applyZoom(::zoomOut(layout.zoomIndex, {layout.scrollX, layout.scrollY},
                        pictureSize(viewer().document.main), clientSize()));
}

void zoomActualSize() {
    if (!canZoom()) return;
    const ViewLayout& layout = viewer().layout;
    applyZoom(actualSize(layout.zoomIndex, {layout.scrollX, layout.scrollY},
                         pictureSize(viewer().document.main), clientSize()));
}

void toggleZoomLock() {
    Viewer& v = viewer();
    v.layout.zoomLocked = !v.layout.zoomLocked;
    platform::checkMenuItem(v.menu, cmd::LockZoom, v.layout.zoomLocked);
}

void resizeView(platform::Size client) {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    if (!v.pictureWindow) return;
    if (v.normalMode()) {
        if (!layout.shownCount) {
            platform::moveWindow(v.pictureWindow, platform::rectAt(0, 0, client.width, client.height));
            return;
        }
        layout.scrollX = resizedScroll(layout.scrollX, client.width, layout.displayWidth);
        layout.scrollY = resizedScroll(layout.scrollY, client.height, layout.displayHeight);
        movePictureWindow(true);
        return;
    }
    platform::moveWindow(v.pictureWindow, platform::rectAt(0, 0, client.width, client.height),
                         false);
    if (layout.shownCount) layoutTwoPage();
    repaintTwoPage();
}
