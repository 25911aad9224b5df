#include "viewer/mode_switch.h"

#include "platform/window.h"
#include "sources/page_list.h"
#include "viewer/menu_marks.h"
#include "viewer/navigation.h"
#include "viewer/view_layout.h"
#include "viewer/viewer.h"

namespace {

bool anyProcessing() {
    for (const ModeSettings& mode : viewer().settings.modes)
        if (mode.FILTER || mode.TRANSFORM) return true;
    return false;
}

void fillClientWithPictureWindow() {
    Viewer& v = viewer();
    const platform::Rect client = platform::clientRect(v.mainWindow);
    platform::moveWindow(v.pictureWindow, platform::rectAt(0, 0, client.width(), client.height()),
                         false);
}

} // namespace

void switchToNormalMode() {
    Viewer& v = viewer();
    if (v.normalMode()) return;
    ViewLayout& layout = v.layout;
    OpenDocument& document = v.document;
    // The switch steps from the pages on screen, not from a failed load.
    document.failedIndex = -1;
    if (!layout.fullScreen) layout.twoPageWindowRect = platform::normalWindowRect(v.mainWindow);
    if (layout.shownCount) {
        v.screen.destroy();
        if (layout.shownCount == 2) {
            if (document.keepFirstOfSpread) {
                v.pages.currentIndex = v.pages.previousIndex;
                document.second.freeBlocks();
            } else {
                document.main.attach(document.second.headerBlock, document.second.bitsBlock);
                document.second.release();
                document.mainOrigin = document.secondOrigin;
            }
            document.secondOrigin = {};
            layout.shownCount = 1; // normal mode never shows a spread
        }
        document.readAheadValid = false;
        document.refillPending = kRefillNothing;
    }
    v.settings.MODE = kNormalMode;
    // The page is reprocessed when either mode turns or filters pictures, so
    // that normal mode's own processing applies; when that fails, a picture
    // still on screen (the reload frees the page it decodes again) is placed.
    bool place = layout.shownCount != 0;
    if (place && anyProcessing()) place = !showFrom(0, kRelative) && layout.shownCount;
    if (place) relayoutAndRepaint();
    loadModeMenu();
}

void switchToTwoPageMode() {
    Viewer& v = viewer();
    if (!v.normalMode()) return;
    ViewLayout& layout = v.layout;
    v.document.failedIndex = -1;
    v.screen.destroy();
    if (!layout.fullScreen && !v.settings.modesizech && !platform::isMaximised(v.mainWindow))
        platform::moveWindow(v.mainWindow, layout.twoPageWindowRect);
    v.settings.MODE = kTwoPageMode;
    fillClientWithPictureWindow();
    if (layout.shownCount) {
        const PictureBuffer& main = v.document.main;
        if (v.settings.mihiraki == 1 || (main.width > main.height && v.settings.mihiraki != 2) ||
            v.document.keepFirstOfSpread)
            showFrom(0, kRelative);
        else
            previousFile(); // the spread that was left, with this page as its second
    }
    loadModeMenu();
}

void toggleMode() {
    if (viewer().normalMode())
        switchToTwoPageMode();
    else
        switchToNormalMode();
}
