#include "viewer/dialog_commands.h"

#include <vector>

#include "picture/clipboard.h"
#include "picture/picture_info_dialog.h"
#include "platform/window.h"
#include "settings/options_dialog.h"
#include "settings/small_dialogs.h"
#include "sources/plugin_info_dialog.h"
#include "viewer/navigation.h"
#include "viewer/slideshow.h"
#include "viewer/view_layout.h"
#include "viewer/viewer.h"

void openOptions() {
    Viewer& v = viewer();
    const int readAhead = v.settings.sakiyomi;
    if (!runOptionsDialog(v.mainWindow, v.settings)) return;
    if (readAhead && !v.settings.sakiyomi) dropReadAhead();
    if (!v.layout.shownCount) return;
    // New engines and options take effect at once.
    v.screen.destroy();
    relayoutAndRepaint();
}

void openPageNumber() {
    Viewer& v = viewer();
    if (!v.layout.shownCount) return;
    PageNumberRequest request;
    request.owner = v.mainWindow;
    request.currentIndex = v.pages.currentIndex;
    request.pageCount = v.pages.pageCount;
    request.spread = v.layout.shownCount == 2;
    request.transparency = v.settings.transparency;
    request.showPage = [](int page) {
        if (viewer().layout.shownCount) showFrom(page, kAbsolute);
    };
    request.repaint = [] { platform::invalidate(viewer().pictureWindow, true); };
    runPageNumberDialog(request);
}

void openSlideshowInterval() {
    Viewer& v = viewer();
    if (runSlideshowIntervalDialog(v.mainWindow, v.settings)) startSlideshow();
}

void openPictureInformation() {
    Viewer& v = viewer();
    const ViewLayout& layout = v.layout;
    std::vector<ShownPage> shown;
    if (layout.shownCount == 1) {
        shown.push_back({v.pages.currentIndex, &v.document.main, layout.displayWidth,
                         layout.displayHeight, layout.firstOrigin.x});
    } else if (layout.shownCount == 2) {
        shown.push_back({v.pages.previousIndex, &v.document.main, layout.displayWidth,
                         layout.displayHeight, layout.firstOrigin.x});
        shown.push_back({v.pages.currentIndex, &v.document.second, layout.secondDisplayWidth,
                         layout.secondDisplayHeight, layout.secondOrigin.x});
    }
    showPictureInformation(v.mainWindow, v.pages, shown, v.settings.transparency);
}

void copyPicture() {
    Viewer& v = viewer();
    if (v.layout.shownCount) copyToClipboard(v.document.main);
}

void openPluginInformation() {
    Viewer& v = viewer();
    showPluginInformation(v.mainWindow, v.pages.host);
}
