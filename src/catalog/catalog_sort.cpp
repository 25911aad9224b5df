// catalog_sort.cpp - each row's sort key is made once, so a sort of many
// rows compares keys, not cells: the locale's sort key for Text (whose byte
// order is the comparison's order), the value for Number, the five date
// fields for Date and Counter.
#include "catalog/catalog_sort.h"

#include <algorithm>
#include <numeric>

#include "catalog/cell_values.h"
#include "platform/text_compare.h"

namespace {

ColumnKind kindAt(const CatalogList& list, int position) {
    for (const CatalogColumn& column : list.columns)
        if (column.displayPosition == position) return column.kind;
    return ColumnKind::Text;
}

std::string_view cellAt(const CatalogRow& row, int position) {
    return std::size_t(position) < row.cells.size() ? row.cells[std::size_t(position)] : std::string_view();
}

// Sorts the rows by the keys `keyOf` makes of the column's cells.
template <typename KeyOf> void sortRowsBy(CatalogList& list, int position, bool descending, KeyOf keyOf) {
    using Key = decltype(keyOf(std::string_view()));
    std::vector<Key> keys;
    keys.reserve(list.rows.size());
    for (const CatalogRow& row : list.rows) keys.push_back(keyOf(cellAt(row, position)));
    std::vector<std::size_t> order(list.rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return descending ? keys[b] < keys[a] : keys[a] < keys[b];
    });
    std::vector<CatalogRow> sorted;
    sorted.reserve(list.rows.size());
    for (std::size_t from : order) sorted.push_back(std::move(list.rows[from]));
    list.rows = std::move(sorted);
}

} // namespace

void sortByColumn(CatalogList& list, int position) {
    if (position < 0 || position >= kColumnCount) return;
    int& direction = list.sortDirection[std::size_t(position)];
    direction = direction == 1 ? 2 : 1;
    bool descending = direction == 2;
    switch (kindAt(list, position)) {
    case ColumnKind::Number:
        sortRowsBy(list, position, descending, cellNumber);
        break;
    case ColumnKind::Date:
    case ColumnKind::Counter:
        sortRowsBy(list, position, descending, cellDate);
        break;
    case ColumnKind::Text:
        sortRowsBy(list, position, descending, platform::sortKeyNoCase);
        break;
    }
}
