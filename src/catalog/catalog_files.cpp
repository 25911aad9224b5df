// catalog_files.cpp - the File menu's commands and the open and save list
// dialogs.
#include "catalog/catalog_files.h"

#include <optional>

#include "catalog/catalog_view.h"
#include "catalog/list_file.h"
#include "catalog/row_opening.h"
#include "platform/modal.h"
#include "settings/settings_file.h"

namespace {

platform::FileDialogRequest listDialog(const CatalogWindow& catalog, const char* title) {
    platform::FileDialogRequest request;
    request.owner = catalog.window;
    request.title = title;
    request.filter = std::string("Voxa list\0*.vxl\0\0", 18);
    request.folder = viewerFilesFolder(settingsLocation());
    request.defaultExtension = "vxl";
    return request;
}

// True when the list has no changes, or the user lets them go.
bool mayDiscardChanges(const CatalogWindow& catalog) {
    return !catalog.list.modified ||
           platform::messageBox(catalog.window, "リスト消すけどいい？", "確認", platform::MessageButtons::YesNo,
                                platform::MessageIcon::Question) == platform::DialogResult::Yes;
}

void showFailure(const CatalogWindow& catalog, platform::MessageIcon icon) {
    platform::messageBox(catalog.window, kFailedText, kFailedCaption, platform::MessageButtons::Ok, icon);
}

// Writes the list with the widths on screen; the title names the file.
bool write(CatalogWindow& catalog, const std::string& path) {
    takeColumnWidths(catalog);
    if (!writeListFile(catalog.list, path)) return false;
    catalog.list.modified = false;
    platform::setTitle(catalog.window, path);
    return true;
}

} // namespace

void newCatalog(CatalogWindow& catalog) {
    if (!mayDiscardChanges(catalog)) return;
    resetCatalog(catalog.list);
    platform::setTitle(catalog.window, kCatalogTitle);
    showWholeCatalog(catalog);
}

void openCatalogFile(CatalogWindow& catalog) {
    if (!mayDiscardChanges(catalog)) return;
    std::optional<std::string> path = platform::openFileDialog(listDialog(catalog, "リストを開く"));
    if (!path) return;
    bool read = readListFile(catalog.list, *path);
    // A file damaged in its rows leaves its columns and the rows before the
    // damage, which the list shows as well.
    showWholeCatalog(catalog);
    if (read)
        platform::setTitle(catalog.window, *path);
    else
        showFailure(catalog, platform::MessageIcon::None);
}

void saveCatalogAs(CatalogWindow& catalog) {
    rememberLastPage(catalog);
    if (catalog.list.rows.empty()) {
        catalog.list.modified = false;
        return;
    }
    platform::FileDialogRequest request = listDialog(catalog, "");
    request.fileName = "名称未設定.vxl";
    std::optional<std::string> path = platform::saveFileDialog(request);
    if (path && !write(catalog, *path)) showFailure(catalog, platform::MessageIcon::None);
}

void saveCatalog(CatalogWindow& catalog) {
    rememberLastPage(catalog);
    if (!catalog.list.hasFileName) {
        saveCatalogAs(catalog);
        return;
    }
    if (!write(catalog, catalog.list.listPath)) showFailure(catalog, platform::MessageIcon::Error);
}
