// column_dialog.h - LIST_COLUMN "表示項目の設定": which columns the catalog
// shows and in what order, the title first and fixed.
#pragma once

#include "catalog/catalog_window.h"

// Modal over the catalog window; OK rebuilds the list's columns.
void runColumnDialog(CatalogWindow& catalog);
