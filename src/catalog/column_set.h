// column_set.h - choosing which columns are visible and in what order.
#pragma once

#include <vector>

#include "catalog/catalog_list.h"

// Shows exactly the columns `order` (ids, the title first), in that order,
// and gives view columns 1 .. V-1 their default widths; the title's view
// column stays as it is. Cells move with their columns; a column that goes
// keeps its cells aside in each row and one that comes back gets them again.
// Leaves `modified` alone.
void setVisibleColumns(CatalogList& list, const std::vector<int>& order);

// Forgets the cells kept for hidden columns, once the list is saved.
void dropHiddenCells(CatalogList& list);
