#include "catalog/folder_tree_command.h"

#include <cstdio>

#include "catalog/folder_tree.h"
#include "platform/modal.h"
#include "platform/progress_window.h"
#include "platform/window.h"

void addFolderTree(CatalogWindow& catalog) {
    std::optional<std::string> folder =
        platform::browseForFolder(catalog.viewer.mainWindow, kFolderTreeTitle);
    if (!folder) return;
    platform::setBusyCursor(true);
    const platform::ProgressId progress = platform::openProgress(catalog.window, "一括追加");
    int shownRows = int(catalog.list.rows.size());
    auto showNewRows = [&] {
        const int rows = int(catalog.list.rows.size());
        if (rows > shownRows) platform::insertReportRows(catalog.view, shownRows, rows - shownRows);
        shownRows = rows;
    };
    addFolderRecursive(catalog.list, *catalog.viewer.pages, *folder, [&](int done, int found) {
        showNewRows();
        char text[64];
        std::snprintf(text, sizeof text, "フォルダ %d / %d", done, found);
        return platform::stepProgress(progress, done, found, text);
    });
    showNewRows();
    platform::closeProgress(progress);
    platform::setBusyCursor(false);
}
