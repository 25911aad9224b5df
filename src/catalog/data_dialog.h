// data_dialog.h - LIST_DATA "データ編集": every visible cell of one row,
// five columns a page.
//
// The page shown last is kept for the next dialog of the run, unless the
// list has fewer pages by then.
#pragma once

#include "catalog/catalog_window.h"

// One modal dialog for each selected row, top to bottom; OK writes the
// row's cells back and marks the list changed.
void runDataDialogs(CatalogWindow& catalog);
