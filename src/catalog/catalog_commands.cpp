// catalog_commands.cpp - the commands of the catalog window's menus, toolbar
// and keys, and the keys of its list.
#include "catalog/catalog_commands.h"

#include <cstdio>

#include "catalog/automatic_fields.h"
#include "catalog/catalog_files.h"
#include "catalog/catalog_sort.h"
#include "catalog/catalog_view.h"
#include "catalog/cell_values.h"
#include "catalog/folder_tree_command.h"
#include "catalog/row_edits.h"
#include "catalog/row_opening.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/focus.h"
#include "platform/keys.h"
#include "platform/modal.h"
#include "resources/catalog_ids.h"
#include "resources/command_ids.h"

namespace {

void showRows(CatalogWindow& catalog, const std::vector<int>& selected) {
    platform::updateReportRows(catalog.view, 0, int(catalog.list.rows.size()) - 1);
    platform::setSelectedReportRows(catalog.view, selected);
}

void deleteSelected(CatalogWindow& catalog) {
    std::vector<int> selected = selectedRows(catalog);
    deleteRows(catalog.list, selected);
    for (auto row = selected.rbegin(); row != selected.rend(); ++row)
        platform::removeReportRows(catalog.view, *row, 1);
}

void deleteAll(CatalogWindow& catalog) {
    CatalogList& list = catalog.list;
    list.rows.clear();
    list.currentRow = -1;
    list.nextSerial = 0;
    list.modified = true;
    platform::setReportRowCount(catalog.view, 0);
}

// Favourite + and -: the first selected row's leading stars, one more or one
// fewer, and nothing after them.
void stepFavourite(CatalogWindow& catalog, int step) {
    int row = firstSelectedRow(catalog);
    if (columnPosition(catalog.list, kColumnFavourite) < 0 || row < 0) return;
    int count = leadingStars(cellOf(catalog, row, kColumnFavourite)) + step;
    setCellOf(catalog, row, kColumnFavourite, stars(std::clamp(count, 0, kMaxStars)));
    catalog.list.modified = true;
}

// Auto-fill: each selected row's automatic cells anew from its location.
void autoFill(CatalogWindow& catalog) {
    for (int row : selectedRows(catalog)) {
        fillAutomaticFields(catalog.list, cellOf(catalog, row, kColumnLocation), row);
        platform::updateReportRows(catalog.view, row, row);
        catalog.list.modified = true;
    }
}

void openTargets(CatalogWindow& catalog) {
    for (int row : selectedRows(catalog)) {
        std::string path = cellOf(catalog, row, kColumnLocation);
        if (platform::pathKind(path) == platform::PathKind::Missing) {
            platform::messageBox(catalog.window, "開けないよー", "エラー", platform::MessageButtons::Ok,
                                 platform::MessageIcon::Error);
            continue;
        }
        platform::openWithDesktop(path); // the desktop's other refusals go unreported
    }
}

void showListInformation(CatalogWindow& catalog) {
    const CatalogList& list = catalog.list;
    int current = list.currentRow >= 0 && std::size_t(list.currentRow) < list.rows.size() ? list.currentRow : -1;
    char text[96];
    std::snprintf(text, sizeof text, "アイテム数   \t%d \n現在のアイテム\t%d ", int(list.rows.size()), current + 1);
    platform::messageBox(catalog.window, text, "リスト情報", platform::MessageButtons::Ok,
                         platform::MessageIcon::Information);
}

void applyTransparency(CatalogWindow& catalog) {
    platform::setOpacity(catalog.window, catalog.viewer.transparency ? *catalog.viewer.transparency : 255);
    platform::acceptDrops(catalog.window, true);
}

// The viewer ends: the page left is remembered, a changed list offered for
// saving over an opaque window, and the window goes.
void quit(CatalogWindow& catalog) {
    rememberLastPage(catalog);
    if (catalog.list.modified) {
        if (catalog.viewer.transparency) *catalog.viewer.transparency = 255;
        applyTransparency(catalog);
        platform::showWindow(catalog.window, platform::ShowCommand::ShowNoActivate);
        if (platform::messageBox(catalog.viewer.mainWindow, "リストを保存する？", "確認",
                                 platform::MessageButtons::YesNo,
                                 platform::MessageIcon::Question) == platform::DialogResult::Yes)
            saveCatalog(catalog);
    }
    platform::destroyWindow(catalog.window);
}

struct ListKey {
    int key;
    unsigned modifier; // must be held; 0 for none required
    int command;
};

constexpr ListKey kListKeys[] = {
    {platform::key::Up, platform::kAltHeld, listcmd::Up},
    {platform::key::Down, platform::kAltHeld, listcmd::Down},
    {'N', platform::kControlHeld, listcmd::New},
    {'O', platform::kControlHeld, listcmd::Open},
    {'S', platform::kControlHeld, listcmd::Save},
    {'F', platform::kControlHeld, listcmd::Find},
    {'H', platform::kControlHeld, listcmd::Replace},
    {platform::key::Delete, 0, listcmd::Delete},
    {platform::key::Return, 0, listcmd::DataInput},
    {platform::key::F(5), 0, listcmd::AutoFill},
    {platform::key::F(7), 0, listcmd::FavouritePlus},
    {platform::key::F(8), 0, listcmd::FavouriteMinus},
};

} // namespace

void sortCatalog(CatalogWindow& catalog, int column) {
    std::vector<int> serials = selectedSerials(catalog);
    sortByColumn(catalog.list, column);
    platform::updateReportRows(catalog.view, 0, int(catalog.list.rows.size()) - 1);
    selectSerials(catalog, serials);
}

bool catalogListKey(CatalogWindow& catalog, const platform::ReportEvent& event) {
    for (const ListKey& entry : kListKeys) {
        if (entry.key != event.key || (event.state & entry.modifier) != entry.modifier) continue;
        platform::sendCommand(catalog.window, entry.command);
        return true;
    }
    if (event.key == platform::key::Space) {
        platform::sendCommand(catalog.viewer.mainWindow, cmd::OpenFromList);
        return true;
    }
    if (event.key == platform::key::Tab) {
        platform::activateWindow(catalog.viewer.mainWindow);
        return true;
    }
    return false;
}

void runCatalogCommand(CatalogWindow& catalog, int id) {
    switch (id) {
    case listcmd::New:
        newCatalog(catalog);
        break;
    case listcmd::Open:
        openCatalogFile(catalog);
        break;
    case listcmd::SaveAs:
        saveCatalogAs(catalog);
        break;
    case listcmd::Save:
        saveCatalog(catalog);
        break;
    case listcmd::Close:
        catalog.shown = false;
        platform::showWindow(catalog.window, platform::ShowCommand::Hide);
        break;
    case listcmd::Up:
        showRows(catalog, moveRowsUp(catalog.list, selectedRows(catalog)));
        break;
    case listcmd::Down:
        showRows(catalog, moveRowsDown(catalog.list, selectedRows(catalog)));
        break;
    case listcmd::Delete:
        deleteSelected(catalog);
        break;
    case listcmd::DeleteAll:
        deleteAll(catalog);
        break;
    case listcmd::AddCurrentFolder:
        platform::sendCommand(catalog.viewer.mainWindow, cmd::AddCurrentFolder);
        break;
    case listcmd::AddCurrentFile:
        platform::sendCommand(catalog.viewer.mainWindow, cmd::AddCurrentFile);
        break;
    case listcmd::AddFolderTree:
        addFolderTree(catalog);
        catalog.list.modified = true;
        break;
    case listcmd::AutoFill:
        autoFill(catalog);
        break;
    case listcmd::FavouritePlus:
        stepFavourite(catalog, 1);
        break;
    case listcmd::FavouriteMinus:
        stepFavourite(catalog, -1);
        break;
    case listcmd::OpenTarget:
        openTargets(catalog);
        break;
    case listcmd::ListInformation:
        showListInformation(catalog);
        break;
    case listcmd::Quit:
        quit(catalog);
        break;
    case listcmd::Transparency:
        applyTransparency(catalog);
        break;
    default:
        // Data input, mass input, find, replace and the column dialogs
        // come with their own dialogs.
        break;
    }
}
