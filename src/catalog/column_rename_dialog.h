// column_rename_dialog.h - LIST_COLUMN_EDIT "項目名変更": a new display name
// for one visible column.
#pragma once

#include "catalog/catalog_window.h"

// Modal over the catalog window; OK renames the column and its header.
void runColumnRenameDialog(CatalogWindow& catalog);
