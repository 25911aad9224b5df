// catalog_view.h - the report list kept in step with the catalog: the model
// is the truth, and the list shows its columns and asks it for the cells.
#pragma once

#include <string>
#include <vector>

#include "catalog/catalog_window.h"

// Every column and row anew, nothing selected.
void showWholeCatalog(CatalogWindow& catalog);
// The selected rows, top to bottom, and the first of them (-1 when none is).
std::vector<int> selectedRows(const CatalogWindow& catalog);
int firstSelectedRow(const CatalogWindow& catalog);
// The serials of the selected rows, and the selection set back from them
// after the rows were reordered.
std::vector<int> selectedSerials(const CatalogWindow& catalog);
void selectSerials(CatalogWindow& catalog, const std::vector<int>& serials);
// The widths the user left the columns at, into the model (before a save).
void takeColumnWidths(CatalogWindow& catalog);
// The cell of column `id` in `row`; empty when the column is hidden or the
// row does not exist.
std::string cellOf(const CatalogWindow& catalog, int row, int id);
// Writes the cell (the column must be visible) and repaints the row.
void setCellOf(CatalogWindow& catalog, int row, int id, const std::string& text);
// A row for `path` at the end (addPath), shown.
void addCatalogEntry(CatalogWindow& catalog, const std::string& path);
