// mass_input_dialog.h - LIST_EDIT_MASSPUT "一括入力": one text into one
// column of every selected row.
#pragma once

#include "catalog/catalog_window.h"

// Modal over the catalog window; OK writes the cells and marks the list
// changed, even with no row selected.
void runMassInputDialog(CatalogWindow& catalog);
