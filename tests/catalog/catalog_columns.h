// catalog_columns.h - a catalog showing chosen columns, for the tests.
#pragma once

#include <vector>

#include "catalog/catalog_list.h"

namespace catalog_test {

// Shows these columns in this order (the title first) and hides the others,
// with their view columns; the rows are left as they are.
inline void showColumns(CatalogList& list, const std::vector<int>& columnIds) {
    for (CatalogColumn& column : list.columns)
        column.displayPosition = -1;
    for (std::size_t p = 0; p < columnIds.size(); ++p)
        list.columns[std::size_t(columnIds[p])].displayPosition = int(p);
    list.visibleCount = int(columnIds.size());
    buildViewColumns(list);
}

} // namespace catalog_test
