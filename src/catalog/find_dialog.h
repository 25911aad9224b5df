// find_dialog.h - the modeless find and replace dialogs of the catalog
// window, LIST_FIND "検索" and LIST_REPLACE "置換".
//
// Each command makes a new dialog over the catalog window; it lives until its
// cancel button (or the window) goes. A dialog remembers the last text it
// searched for; the row found last is one per kind of dialog for the whole
// run. Every press starts from the catalog's current selection.
#pragma once

#include "catalog/catalog_window.h"
#include "platform/dialog.h"

// The catalog must outlive the dialog, which goes with its window.
platform::DialogId openFindDialog(CatalogWindow& catalog);
platform::DialogId openReplaceDialog(CatalogWindow& catalog);
