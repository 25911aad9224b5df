#include "viewer/main_window.h"

#include "platform/accelerator.h"
#include "platform/application.h"
#include "platform/dialog.h"
#include "platform/menu.h"
#include "resources/command_ids.h"
#include "resources/dialogs.h"
#include "resources/icons.h"
#include "resources/menus.h"
#include "settings/settings_file.h"
#include "viewer/catalog_link.h"
#include "viewer/commands.h"
#include "viewer/main_window_input.h"
#include "viewer/menu_marks.h"
#include "viewer/navigation.h"
#include "viewer/picture_window.h"
#include "viewer/view_layout.h"
#include "viewer/viewer.h"
#include "viewer/window_frame.h"

namespace {

using platform::MessageKind;
using platform::MessageParams;
using platform::WindowId;

constexpr platform::Colour kBlack{0, 0, 0};

// The main window's Create message: settings, menu bar, picture window.
void setUp(WindowId window) {
    Viewer& v = viewer();
    v.mainWindow = window;
    platform::registerDialogTemplates(resources::dialogTemplates());
    startupDefaults(v.settings);
    loadSettings(v.settings, v.settingsFile);
    loadModeMenu();

    platform::WindowClass pictureClass;
    pictureClass.name = kPictureWindowClass;
    pictureClass.procedure = pictureWindowProcedure;
    pictureClass.background = kBlack;
    pictureClass.doubleClicks = true;
    pictureClass.cursor = platform::CursorShape::Hidden; // the window sets its own
    platform::registerWindowClass(pictureClass);
    const platform::Rect client = platform::clientRect(window);
    platform::WindowCreation creation;
    creation.className = kPictureWindowClass;
    creation.parent = window;
    creation.rect = platform::rectAt(0, 0, client.width(), client.height());
    creation.visible = true;
    v.pictureWindow = platform::createWindow(creation);
    platform::setCursorShape(v.pictureWindow, platform::CursorShape::Arrow);

    platform::acceptDrops(window, true);
    createCatalog();
    applyWindowedStyle();
    v.layout.savedWindowRect = v.layout.twoPageWindowRect = platform::windowRect(window);
    platform::postCommand(window, cmd::Startup);
}

// Close: the settings are saved with the windowed menu-bar state, the
// catalog offers to save a changed list and goes, the pictures are freed and
// the window destroyed, which ends the loop.
void shutDown(WindowId window) {
    Viewer& v = viewer();
    if (v.layout.fullScreen) v.settings.MENU = v.settings.menuBeforeFullScreen;
    saveSettings(v.settings, v.settingsFile);
    quitCatalog();
    v.document.main.freeBlocks();
    v.document.second.freeBlocks();
    platform::destroyWindow(window);
}

void destroyed() {
    Viewer& v = viewer();
    platform::setAccelerators(0, nullptr);
    if (v.menu) platform::destroyMenu(v.menu);
    v.menu = 0;
    v.mainWindow = v.pictureWindow = 0;
    platform::postQuit(0);
}

} // namespace

int mainWindowProcedure(WindowId window, MessageKind kind, const MessageParams& params) {
    switch (kind) {
    case MessageKind::Create:
        setUp(window);
        return 1;
    case MessageKind::Close:
        shutDown(window);
        return 1;
    case MessageKind::Destroy:
        destroyed();
        return 1;
    case MessageKind::Size:
        resizeView(params.size);
        return 1;
    case MessageKind::Command:
        return runCommand(params.id) ? 1 : 0;
    case MessageKind::KeyDown:
        keyDown(params);
        return 1;
    case MessageKind::Character:
        character(params);
        return 1;
    case MessageKind::Wheel:
        wheel(params);
        return 1;
    case MessageKind::ButtonDown:
        mainButtonDown(params);
        return 1;
    case MessageKind::ButtonUp:
        mainButtonUp(params);
        return 1;
    case MessageKind::Drop:
        // Only the first dropped file is opened.
        if (!params.paths.empty()) openPath(params.paths.front());
        return 1;
    case MessageKind::Timer:
        platform::sendCommand(window, cmd::NextPage);
        return 1;
    default:
        return 0;
    }
}

WindowId createMainWindow() {
    platform::WindowClass mainClass;
    mainClass.name = kMainWindowClass;
    mainClass.procedure = mainWindowProcedure;
    mainClass.background = kBlack;
    mainClass.doubleClicks = true;
    mainClass.icon = resources::voxaIcon();
    platform::registerWindowClass(mainClass);
    platform::WindowCreation creation;
    creation.className = kMainWindowClass;
    creation.title = "Voxa";
    creation.rect = platform::rectAt(platform::kDefaultPosition, platform::kDefaultPosition, 450, 300);
    const WindowId window = platform::createWindow(creation);
    if (!window) return 0;
    platform::showWindow(window, platform::ShowCommand::Show);
    platform::updateWindow(window);
    platform::setAccelerators(window, &resources::acceleratorTable());
    return window;
}
