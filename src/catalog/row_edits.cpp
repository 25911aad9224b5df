#include "catalog/row_edits.h"

#include <utility>

namespace {

std::vector<bool> flags(const CatalogList& list, const std::vector<int>& selected) {
    std::vector<bool> marked(list.rows.size(), false);
    for (int row : selected)
        if (row >= 0 && std::size_t(row) < marked.size()) marked[std::size_t(row)] = true;
    return marked;
}

std::vector<int> indices(const std::vector<bool>& marked) {
    std::vector<int> rows;
    for (std::size_t row = 0; row < marked.size(); ++row)
        if (marked[row]) rows.push_back(int(row));
    return rows;
}

} // namespace

std::vector<int> moveRowsUp(CatalogList& list, const std::vector<int>& selected) {
    std::vector<bool> marked = flags(list, selected);
    for (std::size_t row = 1; row < marked.size(); ++row) {
        if (!marked[row] || marked[row - 1]) continue;
        std::swap(list.rows[row - 1], list.rows[row]);
        marked[row - 1] = true;
        marked[row] = false;
    }
    list.modified = true;
    return indices(marked);
}

std::vector<int> moveRowsDown(CatalogList& list, const std::vector<int>& selected) {
    std::vector<bool> marked = flags(list, selected);
    if (marked.size() < 2) return indices(marked);
    for (std::size_t row = marked.size() - 1; row-- > 0;) {
        if (!marked[row] || marked[row + 1]) continue;
        std::swap(list.rows[row], list.rows[row + 1]);
        marked[row + 1] = true;
        marked[row] = false;
    }
    list.modified = true;
    return indices(marked);
}

void deleteRows(CatalogList& list, const std::vector<int>& selected) {
    std::vector<bool> marked = flags(list, selected);
    std::size_t kept = 0;
    for (std::size_t row = 0; row < marked.size(); ++row) {
        if (marked[row]) continue;
        if (kept != row) list.rows[kept] = std::move(list.rows[row]); // never onto itself
        ++kept;
    }
    list.rows.resize(kept);
    list.modified = true;
}
