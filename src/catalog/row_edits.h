// row_edits.h - moving and deleting the selected rows.
//
// The selection is given as row indices in ascending order and, for moves,
// handed back as it stands after the move: a moved row stays selected.
#pragma once

#include <vector>

#include "catalog/catalog_list.h"

// Every block of selected rows not already at the top moves up one place;
// a block at the top stays. Sets `modified`, even when nothing moved.
std::vector<int> moveRowsUp(CatalogList& list, const std::vector<int>& selected);
// The same downwards. With fewer than two rows nothing happens and
// `modified` stays as it was.
std::vector<int> moveRowsDown(CatalogList& list, const std::vector<int>& selected);
// Removes the selected rows. Sets `modified`, even when none was selected.
void deleteRows(CatalogList& list, const std::vector<int>& selected);
