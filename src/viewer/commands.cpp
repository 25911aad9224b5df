#include "viewer/commands.h"

#include "platform/desktop.h"
#include "platform/html_window.h"
#include "platform/modal.h"
#include "platform/window.h"
#include "resources/command_ids.h"
#include "resources/version.h"
#include "viewer/catalog_link.h"
#include "viewer/dialog_commands.h"
#include "viewer/menu_marks.h"
#include "viewer/mode_switch.h"
#include "viewer/navigation.h"
#include "viewer/open_dialog.h"
#include "viewer/slideshow.h"
#include "viewer/startup_command.h"
#include "viewer/view_layout.h"
#include "viewer/viewer.h"
#include "viewer/window_frame.h"

namespace {

void scrollInNormalMode(int dx, int dy) {
    Viewer& v = viewer();
    if (v.normalMode() && v.layout.shownCount) scrollBy(dx, dy);
}

// The help page with the desktop's program for it, or else in a window of
// the viewer's own.
void showHelp() {
    const std::string page = resources::helpPagePath();
    if (!platform::openWithDesktop(page)) platform::showHtmlWindow(viewer().mainWindow, page);
}

// A fit mode of the mode in use, which places the pictures on screen anew.
bool isFitOfCurrentMode(int id) {
    if (viewer().normalMode()) return id >= cmd::NormalFitPicture && id <= cmd::NormalFitHeight;
    return id >= cmd::TwoPageFitWindow && id <= cmd::TwoPageReduceOnly;
}

void showVersion() {
    platform::messageBox(viewer().mainWindow, resources::versionText(), resources::kVersionCaption,
                         platform::MessageButtons::Ok, platform::MessageIcon::Information);
}

} // namespace

bool runCommand(int id) {
    Viewer& v = viewer();
    if (id >= cmd::FilterNone && id <= cmd::FilterDarken) {
        chooseFilter(id);
        return true;
    }
    if (id >= cmd::RotateNone && id <= cmd::FlipUpsideDown) {
        chooseRotation(id);
        return true;
    }
    if (isSettingCommand(id)) {
        chooseSetting(id);
        if (id >= cmd::Transparency0 && id <= cmd::Transparency75) applyCatalogTransparency();
        if (v.layout.shownCount && isFitOfCurrentMode(id)) relayoutAndRepaint();
        return true;
    }
    if (isNavigationCommand(id)) {
        navigate(id);
        return true;
    }
    switch (id) {
    case cmd::Open:
        runOpenDialog();
        return true;
    case cmd::Exit:
        platform::closeWindow(v.mainWindow);
        return true;
    case cmd::FullScreen:
        toggleFullScreen();
        return true;
    case cmd::ReverseBinding:
        reverseBinding();
        return true;
    case cmd::Slideshow:
        toggleSlideshow();
        return true;
    case cmd::ZoomIn:
        zoomIn();
        return true;
    case cmd::ZoomOut:
        zoomOut();
        return true;
    case cmd::ActualSize:
        zoomActualSize();
        return true;
    case cmd::LockZoom:
        toggleZoomLock();
        return true;
    case cmd::ToggleMenu:
        toggleMenuBar();
        return true;
    case cmd::ToggleCaption:
        toggleCaption();
        return true;
    case cmd::FitWindowToPicture:
        fitWindowToPicture();
        return true;
    case cmd::NormalMode:
        switchToNormalMode();
        return true;
    case cmd::TwoPageMode:
        switchToTwoPageMode();
        return true;
    case cmd::ToggleMode:
        toggleMode();
        return true;
    case cmd::ShowCatalog:
        toggleCatalog();
        return true;
    case cmd::AddCurrentFolder:
        addOpenFolderToCatalog();
        return true;
    case cmd::AddCurrentFile:
        addCurrentFileToCatalog();
        return true;
    case cmd::OpenFromList:
    case cmd::OpenRowAbove:
    case cmd::OpenRowBelow:
    case cmd::OpenRandomRow:
        openRowFromCatalog(id);
        return true;
    case cmd::Help:
        showHelp();
        return true;
    case cmd::Version:
        showVersion();
        return true;
    case cmd::PictureInformation:
        openPictureInformation();
        return true;
    case cmd::Copy:
        copyPicture();
        return true;
    case cmd::PageSelect:
        openPageNumber();
        return true;
    case cmd::SlideshowInterval:
        openSlideshowInterval();
        return true;
    case cmd::Options:
        openOptions();
        return true;
    case cmd::PluginInformation:
        openPluginInformation();
        return true;
    case cmd::ScrollDown:
        scrollInNormalMode(0, 32);
        return true;
    case cmd::ScrollUp:
        scrollInNormalMode(0, -32);
        return true;
    case cmd::ScrollLeft:
        scrollInNormalMode(-32, 0);
        return true;
    case cmd::ScrollRight:
        scrollInNormalMode(32, 0);
        return true;
    case cmd::Startup:
        startupCommand();
        return true;
    case cmd::RefillReadAhead:
        refillReadAhead();
        return true;
    default:
        return false;
    }
}
