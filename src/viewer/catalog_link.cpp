#include "viewer/catalog_link.h"

#include "catalog/catalog_view.h"
#include "catalog/row_opening.h"
#include "platform/window.h"
#include "resources/catalog_ids.h"
#include "resources/command_ids.h"
#include "viewer/navigation.h"
#include "viewer/viewer.h"

void createCatalog() {
    Viewer& v = viewer();
    ViewerLink& link = v.catalog.viewer;
    link.mainWindow = v.mainWindow;
    link.pages = &v.pages;
    link.openPath = [](const std::string& path) { return openPath(path); };
    link.showPage = [](int page) { showFrom(page, kAbsolute); };
    link.shownCount = [] { return viewer().layout.shownCount; };
    link.transparency = &v.settings.transparency;
    createCatalogWindow(v.catalog);
    v.catalog.shown = false;
}

void toggleCatalog() {
    CatalogWindow& catalog = viewer().catalog;
    if (catalog.shown) {
        platform::showWindow(catalog.window, platform::ShowCommand::Hide);
        catalog.shown = false;
    } else {
        showCatalog();
    }
}

void showCatalog() {
    CatalogWindow& catalog = viewer().catalog;
    platform::showWindow(catalog.window, platform::ShowCommand::ShowNoActivate);
    catalog.shown = true;
}

void openRowFromCatalog(int id) {
    CatalogWindow& catalog = viewer().catalog;
    const int rows = static_cast<int>(catalog.list.rows.size());
    if (rows == 0) return;
    const int selected = firstSelectedRow(catalog);
    int row = 0;
    switch (id) {
    case cmd::OpenFromList:
        row = selected < 0 ? 0 : selected;
        break;
    case cmd::OpenRowAbove:
        row = selected <= 0 ? rows - 1 : selected - 1;
        break;
    case cmd::OpenRowBelow:
        row = selected < 0 || selected == rows - 1 ? 0 : selected + 1;
        break;
    default:
        row = randomBetween(0, rows - 1);
        break;
    }
    openCatalogRow(catalog, row);
}

void addOpenFolderToCatalog() {
    Viewer& v = viewer();
    if (!v.layout.shownCount) return;
    std::string folder = v.pages.folder;
    if (folder.size() > 1) folder.pop_back(); // its trailing separator
    addCatalogEntry(v.catalog, v.pages.archiveMode ? v.pages.archivePath : folder);
}

void addCurrentFileToCatalog() {
    Viewer& v = viewer();
    const PageList& pages = v.pages;
    if (!v.layout.shownCount) return;
    if (pages.archiveMode) {
        addCatalogEntry(v.catalog, pages.archivePath);
        return;
    }
    int index = pages.currentIndex;
    if (v.layout.shownCount == 2 && --index < 0) index = pages.pageCount - 1;
    if (index < 0 || std::size_t(index) >= pages.entries.size()) return;
    addCatalogEntry(v.catalog, pages.folder + pages.entries[std::size_t(index)]);
}

void focusCatalogList() {
    CatalogWindow& catalog = viewer().catalog;
    if (platform::isVisible(catalog.window)) platform::focusReportList(catalog.view);
}

void applyCatalogTransparency() {
    platform::sendCommand(viewer().catalog.window, listcmd::Transparency);
}

void quitCatalog() {
    CatalogWindow& catalog = viewer().catalog;
    catalog.shown = true;
    platform::sendCommand(catalog.window, listcmd::Quit);
}
