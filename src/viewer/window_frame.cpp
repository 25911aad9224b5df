#include "viewer/window_frame.h"

#include "platform/menu.h"
#include "platform/window.h"
#include "viewer/viewer.h"

namespace {

platform::WindowStyle windowedStyle() {
    return viewer().settings.CAPTION ? platform::WindowStyle::Captioned
                                     : platform::WindowStyle::CaptionLess;
}

// Whatever hides the menu bar ends a show by the auto-menu hover.
void setMenuBar(bool shown) {
    Viewer& v = viewer();
    if (shown) {
        platform::attachMenu(v.mainWindow, v.menu);
        return;
    }
    platform::detachMenu(v.mainWindow);
    v.mouse.menuShownByHover = false;
}

// The normal-mode window after full screen: its client area holds the picture
// at the displayed size.
platform::Rect windowAroundPicture(const platform::Rect& saved) {
    const Viewer& v = viewer();
    int width = v.layout.frameWidth + v.layout.displayWidth;
    if (v.settings.MENU && width < 400) width = 400;
    return platform::rectAt(saved.left, saved.top, width,
                            v.layout.frameHeight + v.layout.displayHeight);
}

void enterFullScreen() {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    const platform::Rect window = platform::windowRect(v.mainWindow);
    const platform::Rect client = platform::clientRect(v.mainWindow);
    layout.frameWidth = window.width() - client.width();
    layout.frameHeight = window.height() - client.height();
    layout.savedWindowRect = platform::normalWindowRect(v.mainWindow);
    layout.fullScreenFromNormal = v.normalMode();
    v.settings.menuBeforeFullScreen = v.settings.MENU;
    v.settings.MENU = 0;
    setMenuBar(false);
    layout.fullScreen = true;
    v.settings.FullScreen = 1;
    platform::setWindowStyle(v.mainWindow, platform::WindowStyle::FullScreen, window);
    platform::showWindow(v.mainWindow, platform::ShowCommand::Maximised);
}

void leaveFullScreen() {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    v.settings.MENU = v.settings.menuBeforeFullScreen;
    setMenuBar(v.settings.MENU != 0);
    v.mouse.menuShownByHover = false;
    layout.fullScreen = false;
    v.settings.FullScreen = 0;
    platform::Rect target = layout.savedWindowRect;
    if (v.normalMode()) {
        if (v.settings.PICTUREMODE == 0 && layout.shownCount)
            target = windowAroundPicture(layout.savedWindowRect);
    } else if (layout.fullScreenFromNormal) {
        target = layout.twoPageWindowRect;
    }
    platform::showWindow(v.mainWindow, platform::ShowCommand::Normal);
    platform::setWindowStyle(v.mainWindow, windowedStyle(), target);
}

} // namespace

void applyWindowedStyle() {
    Viewer& v = viewer();
    platform::setWindowStyle(v.mainWindow, windowedStyle(), platform::windowRect(v.mainWindow));
}

void toggleFullScreen() {
    if (viewer().layout.fullScreen)
        leaveFullScreen();
    else
        enterFullScreen();
}

void toggleCaption() {
    Viewer& v = viewer();
    if (v.layout.fullScreen) return;
    v.settings.CAPTION = v.settings.CAPTION ? 0 : 1;
    v.layout.savedWindowRect = platform::windowRect(v.mainWindow);
    platform::setWindowStyle(v.mainWindow, windowedStyle(), v.layout.savedWindowRect);
}

void toggleMenuBar() {
    Viewer& v = viewer();
    v.settings.MENU = v.settings.MENU ? 0 : 1;
    setMenuBar(v.settings.MENU != 0);
}

void fitWindowToPicture() {
    Viewer& v = viewer();
    const ViewLayout& layout = v.layout;
    if (layout.fullScreen || !layout.shownCount) return;
    const platform::Rect window = platform::windowRect(v.mainWindow);
    const platform::Rect client = platform::clientRect(v.mainWindow);
    int width = window.width() - client.width() + layout.displayWidth;
    if (layout.shownCount == 2) width += layout.secondDisplayWidth;
    const int height = window.height() - client.height() + layout.displayHeight;
    platform::moveWindow(v.mainWindow, platform::rectAt(window.left, window.top, width, height));
}

void resizeWindowBy(int step) {
    Viewer& v = viewer();
    if (v.layout.fullScreen) return;
    const platform::Rect window = platform::windowRect(v.mainWindow);
    platform::moveWindow(v.mainWindow, platform::rectAt(window.left, window.top,
                                                        window.width() + step,
                                                        window.height() + step));
}
