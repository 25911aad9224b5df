#include "catalog/column_set.h"

#include <algorithm>

namespace {

// Takes the cell kept for column `id` out of the row; empty when none is kept.
std::string takeHidden(CatalogRow& row, int id) {
    auto kept = std::find_if(row.hidden.begin(), row.hidden.end(),
                             [id](const HiddenCell& cell) { return cell.id == id; });
    if (kept == row.hidden.end()) return {};
    std::string text = std::move(kept->text);
    row.hidden.erase(kept);
    return text;
}

void rearrangeRow(CatalogRow& row, const std::vector<int>& oldOrder, const std::vector<int>& order,
                  const CatalogList& list) {
    auto cellAt = [&row](int position) {
        return std::size_t(position) < row.cells.size()
                   ? std::string(row.cells[std::size_t(position)])
                   : std::string();
    };
    RowCells cells;
    cells.push_back(cellAt(0));
    for (std::size_t l = 1; l < order.size(); ++l) {
        const int was = columnPosition(list, order[l]);
        cells.push_back(was >= 1 ? cellAt(was) : takeHidden(row, order[l]));
    }
    for (std::size_t q = 1; q < oldOrder.size(); ++q) {
        const int id = oldOrder[q];
        std::string text = cellAt(int(q));
        if (!text.empty() && std::find(order.begin(), order.end(), id) == order.end())
            row.hidden.push_back({id, std::move(text)});
    }
    row.cells = std::move(cells);
}

} // namespace

void setVisibleColumns(CatalogList& list, const std::vector<int>& order) {
    const std::vector<int> oldOrder = visibleOrder(list);
    for (CatalogRow& row : list.rows)
        rearrangeRow(row, oldOrder, order, list);
    for (int id = 0; id < kColumnCount; ++id)
        list.columns[std::size_t(id)].displayPosition = id == kColumnTitle ? 0 : -1;
    for (std::size_t l = 1; l < order.size(); ++l)
        list.columns[std::size_t(order[l])].displayPosition = int(l);
    list.visibleCount = int(order.size());
    if (list.viewColumns.empty()) {
        buildViewColumns(list);
        return;
    }
    list.viewColumns.resize(1);
    buildViewColumnsAfterTitle(list);
}

void dropHiddenCells(CatalogList& list) {
    for (CatalogRow& row : list.rows) {
        row.hidden.clear();
        row.hidden.shrink_to_fit();
    }
}
