#include "catalog/row_opening.h"

#include <algorithm>
#include <climits>

#include "catalog/catalog_view.h"
#include "catalog/cell_values.h"
#include "platform/focus.h"
#include "sources/page_list.h"

namespace {

bool visible(const CatalogWindow& catalog, int id) {
    return columnPosition(catalog.list, id) >= 0;
}

// The folder or archive the viewer has open, as a row's location names it.
std::string openPlace(const PageList& pages) {
    if (pages.archiveMode) return pages.archivePath;
    std::string folder = pages.folder;
    if (!folder.empty()) folder.pop_back(); // its trailing separator
    return folder;
}

// The page in the first selected row's cell of column `id`, shown when not 0.
void jumpToPageIn(CatalogWindow& catalog, int id) {
    int row = firstSelectedRow(catalog);
    if (!visible(catalog, id) || row < 0) return;
    long long page = cellNumber(cellOf(catalog, row, id));
    if (page != 0 && catalog.viewer.showPage) catalog.viewer.showPage(int(std::clamp(page, -0x7fffffffLL, 0x7fffffffLL)));
}

void open(CatalogWindow& catalog, int row) {
    catalog.list.currentRow = row;
    if (!catalog.viewer.openPath || !catalog.viewer.openPath(cellOf(catalog, row, kColumnLocation))) return;
    bumpUseCount(catalog);
    jumpToStartPage(catalog);
    jumpToLastPage(catalog);
}

} // namespace

void rememberLastPage(CatalogWindow& catalog) {
    const CatalogList& list = catalog.list;
    const PageList* pages = catalog.viewer.pages;
    // A row index past the end (rows deleted since it was opened) is no row.
    int row = list.currentRow;
    if (!visible(catalog, kColumnLastPage) || !pages || pages->currentIndex == 0 || row < 0 ||
        std::size_t(row) >= list.rows.size())
        return;
    if (cellOf(catalog, row, kColumnLocation) != openPlace(*pages)) return;
    int shown = catalog.viewer.shownCount ? catalog.viewer.shownCount() : 0;
    if (shown == 0) return;
    int page = shown == 2 ? pages->currentIndex - 1 : pages->currentIndex;
    setCellOf(catalog, row, kColumnLastPage, std::to_string(page));
    catalog.list.modified = true;
}

void bumpUseCount(CatalogWindow& catalog) {
    int row = firstSelectedRow(catalog);
    if (!visible(catalog, kColumnUseCount) || row < 0) return;
    long long count = cellNumber(cellOf(catalog, row, kColumnUseCount));
    setCellOf(catalog, row, kColumnUseCount, std::to_string(count < LLONG_MAX ? count + 1 : count));
    catalog.list.modified = true;
}

void jumpToStartPage(CatalogWindow& catalog) {
    jumpToPageIn(catalog, kColumnStartPage);
}

void jumpToLastPage(CatalogWindow& catalog) {
    jumpToPageIn(catalog, kColumnLastPage);
}

void openEntry(CatalogWindow& catalog, int row) {
    rememberLastPage(catalog);
    if (row < 0 || std::size_t(row) >= catalog.list.rows.size()) return;
    open(catalog, row);
    platform::activateWindow(catalog.viewer.mainWindow);
}

void openCatalogRow(CatalogWindow& catalog, int row) {
    rememberLastPage(catalog);
    if (row < 0 || std::size_t(row) >= catalog.list.rows.size()) return;
    platform::selectOnlyReportRow(catalog.view, row);
    open(catalog, row);
}
