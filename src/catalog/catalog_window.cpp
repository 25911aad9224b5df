// catalog_window.cpp - the catalog window: its class, its children (toolbar
// and report list) and its messages.
#include "catalog/catalog_window.h"

#include "catalog/catalog_commands.h"
#include "catalog/catalog_view.h"
#include "catalog/row_opening.h"
#include "platform/focus.h"
#include "platform/dialog.h"
#include "platform/keys.h"
#include "resources/catalog_dialogs.h"
#include "resources/catalog_icons.h"
#include "resources/catalog_ids.h"
#include "resources/command_ids.h"
#include "resources/catalog_menus.h"

namespace {

using platform::MessageKind;
using platform::MessageParams;
using platform::WindowId;

// The one catalog window's state, from its creation to its destruction.
CatalogWindow* current = nullptr;

constexpr platform::ToolbarButton kSeparator{-1, 0};
constexpr platform::ToolbarButton kToolbarButtons[] = {
    {0, listcmd::New},      {1, listcmd::Open},          {2, listcmd::Save},
    kSeparator,             {3, listcmd::DataInput},     {4, listcmd::Up},
    {5, listcmd::Down},     kSeparator,                  {6, listcmd::AddCurrentFolder},
    {7, listcmd::AddCurrentFile}, kSeparator,            {8, listcmd::Find},
    {9, listcmd::AutoFill},
};

void showPopup(CatalogWindow& catalog, platform::Point screenPoint) {
    platform::popupMenu(catalog.window, catalog.popup, 0, screenPoint);
}

// The list's events: keys by the catalog's table, the middle and second
// extra buttons, double clicks, header clicks and the popup menu.
bool listEvent(const platform::ReportEvent& event) {
    if (!current) return false;
    CatalogWindow& catalog = *current;
    switch (event.kind) {
    case platform::ReportEventKind::KeyDown:
        return catalogListKey(catalog, event);
    case platform::ReportEventKind::ButtonDown:
        if (event.button == platform::MouseButton::Middle)
            platform::sendCommand(catalog.window, listcmd::DataInput);
        else if (event.button == platform::MouseButton::Extra2)
            platform::sendCommand(catalog.viewer.mainWindow, cmd::ShowCatalog);
        return false;
    case platform::ReportEventKind::DoubleClick:
        openEntry(catalog, event.row);
        return false;
    case platform::ReportEventKind::HeaderClick:
        sortCatalog(catalog, event.column);
        return false;
    case platform::ReportEventKind::ContextMenu:
        showPopup(catalog, event.screenPosition);
        return false;
    }
    return false;
}

void layOut(CatalogWindow& catalog) {
    platform::autoSizeToolbar(catalog.toolbar);
    const int top = platform::toolbarHeight(catalog.toolbar);
    const platform::Rect client = platform::clientRect(catalog.window);
    platform::moveReportList(catalog.view,
                             platform::rectAt(0, top, client.width(), std::max(0, client.height() - top)));
}

void setUp(CatalogWindow& catalog, WindowId window) {
    catalog.window = window;
    platform::registerDialogTemplates(resources::catalogDialogTemplates());
    resetCatalog(catalog.list);
    platform::attachMenu(window, platform::loadMenu(resources::listMenu()));
    catalog.popup = platform::loadMenu(resources::listPopup());
    catalog.toolbar = platform::createToolbar(window, resources::toolbarStrip(), resources::kToolbarImageSize,
                                              kToolbarButtons);
    platform::ReportListOptions options;
    options.multipleSelection = true;
    options.gridLines = true;
    options.headerDragDrop = true;
    catalog.view = platform::createReportList(window, {}, options);
    platform::setReportImages(catalog.view,
                              {resources::folderIcon(), resources::paintIcon(), resources::archiveIcon()});
    platform::setReportListener(catalog.view, listEvent);
    showWholeCatalog(catalog);
    layOut(catalog);
    platform::sendCommand(window, listcmd::Transparency);
}

void torn(CatalogWindow& catalog) {
    if (catalog.popup) platform::destroyMenu(catalog.popup);
    catalog.window = 0;
    catalog.view = 0;
    catalog.toolbar = 0;
    catalog.popup = 0;
    current = nullptr;
}

// A key on the window itself, not on its list.
void windowKey(CatalogWindow& catalog, int key) {
    if (key == platform::key::Tab)
        platform::activateWindow(catalog.viewer.mainWindow);
    else if (key != platform::key::Space)
        platform::focusReportList(catalog.view);
}

void dropped(CatalogWindow& catalog, const std::vector<std::string>& paths) {
    platform::setBusyCursor(true);
    for (const std::string& path : paths) {
        addCatalogEntry(catalog, path);
        catalog.list.modified = true;
    }
    platform::setBusyCursor(false);
}

} // namespace

int catalogWindowProcedure(WindowId window, MessageKind kind, const MessageParams& params) {
    if (!current || (current->window && current->window != window)) return 0;
    CatalogWindow& catalog = *current;
    switch (kind) {
    case MessageKind::Create:
        setUp(catalog, window);
        return 1;
    case MessageKind::Close:
        // Closing only hides it, with all it holds.
        catalog.shown = false;
        platform::showWindow(window, platform::ShowCommand::Hide);
        platform::activateWindow(catalog.viewer.mainWindow);
        return 1;
    case MessageKind::Destroy:
        torn(catalog);
        return 1;
    case MessageKind::Size:
        layOut(catalog);
        return 1;
    case MessageKind::Command:
        runCatalogCommand(catalog, params.id);
        return 1;
    case MessageKind::KeyDown:
        windowKey(catalog, params.key);
        return 1;
    case MessageKind::ButtonUp:
        if (params.button == platform::MouseButton::Right) showPopup(catalog, params.screenPosition);
        return 1;
    case MessageKind::Drop:
        dropped(catalog, params.paths);
        return 1;
    default:
        return 0;
    }
}

WindowId createCatalogWindow(CatalogWindow& catalog) {
    platform::WindowClass windowClass;
    windowClass.name = kCatalogWindowClass;
    windowClass.procedure = catalogWindowProcedure;
    windowClass.background = {255, 255, 255};
    windowClass.doubleClicks = true;
    windowClass.cursor = platform::CursorShape::Arrow;
    windowClass.icon = resources::listIcon();
    platform::registerWindowClass(windowClass);
    current = &catalog;
    platform::WindowCreation creation;
    creation.className = kCatalogWindowClass;
    creation.title = kCatalogTitle;
    creation.rect = platform::rectAt(platform::kDefaultPosition, platform::kDefaultPosition, 310, 300);
    creation.owner = catalog.viewer.mainWindow;
    const WindowId window = platform::createWindow(creation);
    if (!window) current = nullptr;
    return window;
}
