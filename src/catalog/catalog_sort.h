// catalog_sort.h - ordering the rows by one column, as a click on its header
// does.
#pragma once

#include "catalog/catalog_list.h"

// Rows compare by their cells at the column's display position, by the kind
// of the column there: Text by the locale's comparison with letter case
// ignored, Number by value, Date and Counter by the five fields of the date
// pattern, first difference first.
//
// Flips the column's sort direction (its first sort is ascending) and sorts
// every row by it. Rows that compare equal keep their order.
void sortByColumn(CatalogList& list, int position);
