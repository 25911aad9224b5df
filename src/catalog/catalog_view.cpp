#include "catalog/catalog_view.h"

#include <algorithm>
#include <unordered_set>

#include "catalog/add_path.h"

namespace {

std::string_view cellText(const CatalogList& list, int row, int position) {
    if (row < 0 || std::size_t(row) >= list.rows.size() || position < 0) return {};
    const RowCells& cells = list.rows[std::size_t(row)].cells;
    return std::size_t(position) < cells.size() ? cells[std::size_t(position)] : std::string_view();
}

} // namespace

void showWholeCatalog(CatalogWindow& catalog) {
    const CatalogList& list = catalog.list;
    std::vector<platform::ReportColumn> columns;
    for (const ViewColumn& column : list.viewColumns) columns.push_back({column.name, column.width});
    platform::ReportSource source;
    source.cellText = [&list](int row, int column) { return std::string(cellText(list, row, column)); };
    source.icon = [&list](int row) { return list.rows[std::size_t(row)].icon; };
    platform::setReportSource(catalog.view, std::move(source));
    platform::setReportColumns(catalog.view, columns);
    platform::setReportRowCount(catalog.view, int(list.rows.size()));
}

std::vector<int> selectedRows(const CatalogWindow& catalog) {
    std::vector<int> rows = platform::selectedReportRows(catalog.view);
    std::erase_if(rows, [&](int row) { return std::size_t(row) >= catalog.list.rows.size(); });
    return rows;
}

int firstSelectedRow(const CatalogWindow& catalog) {
    std::vector<int> rows = selectedRows(catalog);
    return rows.empty() ? -1 : rows.front();
}

std::vector<int> selectedSerials(const CatalogWindow& catalog) {
    std::vector<int> serials;
    for (int row : selectedRows(catalog)) serials.push_back(catalog.list.rows[std::size_t(row)].serial);
    return serials;
}

void selectSerials(CatalogWindow& catalog, const std::vector<int>& serials) {
    std::unordered_set<int> wanted(serials.begin(), serials.end());
    std::vector<int> rows;
    for (std::size_t row = 0; row < catalog.list.rows.size(); ++row)
        if (wanted.count(catalog.list.rows[row].serial)) rows.push_back(int(row));
    platform::setSelectedReportRows(catalog.view, rows);
}

void takeColumnWidths(CatalogWindow& catalog) {
    std::vector<ViewColumn>& columns = catalog.list.viewColumns;
    for (std::size_t p = 0; p < columns.size(); ++p) {
        if (int(p) >= platform::reportColumnCount(catalog.view)) break;
        columns[p].width = platform::reportColumnWidth(catalog.view, int(p));
    }
}

std::string cellOf(const CatalogWindow& catalog, int row, int id) {
    return std::string(cellText(catalog.list, row, columnPosition(catalog.list, id)));
}

void setCellOf(CatalogWindow& catalog, int row, int id, const std::string& text) {
    int position = columnPosition(catalog.list, id);
    if (position < 0 || row < 0 || std::size_t(row) >= catalog.list.rows.size()) return;
    RowCells& cells = catalog.list.rows[std::size_t(row)].cells;
    if (std::size_t(position) >= cells.size()) cells.resize(std::size_t(position) + 1);
    cells.set(std::size_t(position), text);
    platform::updateReportRows(catalog.view, row, row);
}

void addCatalogEntry(CatalogWindow& catalog, const std::string& path) {
    addPath(catalog.list, *catalog.viewer.pages, path);
    platform::insertReportRows(catalog.view, int(catalog.list.rows.size()) - 1, 1);
}
