#include "catalog/catalog_search.h"

#include <algorithm>

#include "platform/text_encoding.h"
#include "platform/text_match.h"

std::vector<int> scopePositions(const CatalogList& list, SearchScope scope, int chosen) {
    if (scope == SearchScope::OneColumn)
        return chosen >= 0 && chosen < list.visibleCount ? std::vector<int>{chosen}
                                                         : std::vector<int>{};
    std::vector<int> positions;
    std::vector<int> order = visibleOrder(list);
    for (int p = 0; p < int(order.size()); ++p)
        if (scope == SearchScope::AllColumns ||
            (order[std::size_t(p)] >= 0 &&
             list.columns[std::size_t(order[std::size_t(p)])].kind == ColumnKind::Text))
            positions.push_back(p);
    return positions;
}

namespace {

std::string_view cellAt(const CatalogRow& row, int position) {
    return std::size_t(position) < row.cells.size() ? row.cells[std::size_t(position)]
                                                    : std::string_view();
}

// Replaces within the searched start of the cell; the rest follows unchanged.
bool replaceInCell(CatalogRow& row, int position, const SearchRequest& request,
                   std::string_view replacement) {
    thread_local std::string result;
    std::string_view cell = cellAt(row, position);
    std::string_view searched = platform::cp932FittingPrefix(cell, kSearchTextLimit);
    if (!platform::replaceInText(request.search, searched, replacement, request.options, result))
        return false;
    result += cell.substr(searched.size());
    if (std::size_t(position) >= row.cells.size()) row.cells.resize(std::size_t(position) + 1);
    row.cells.set(std::size_t(position), result);
    return true;
}

} // namespace

bool rowMatches(const CatalogList& list, int row, const SearchRequest& request) {
    const CatalogRow& entry = list.rows[std::size_t(row)];
    for (int position : request.positions)
        if (platform::matchText(
                request.search,
                platform::cp932FittingPrefix(cellAt(entry, position), kSearchTextLimit),
                request.options))
            return true;
    return false;
}

int findRow(const CatalogList& list, int start, bool downward, const SearchRequest& request) {
    const int count = int(list.rows.size());
    if (downward) {
        for (int row = std::max(start + 1, 0); row < count; ++row)
            if (rowMatches(list, row, request)) return row;
        return -1;
    }
    for (int row = std::min(start, count) - 1; row >= 0; --row)
        if (rowMatches(list, row, request)) return row;
    return -1;
}

bool replaceInRow(CatalogList& list, int row, const SearchRequest& request,
                  std::string_view replacement) {
    bool replaced = false;
    for (int position : request.positions)
        replaced |= replaceInCell(list.rows[std::size_t(row)], position, request, replacement);
    return replaced;
}

int replaceInAllRows(CatalogList& list, const SearchRequest& request,
                     std::string_view replacement) {
    int count = 0;
    for (int row = 0; row < int(list.rows.size()); ++row)
        if (replaceInRow(list, row, request, replacement)) ++count;
    return count;
}
