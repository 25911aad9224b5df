// row_opening.h - opening catalog rows in the viewer, and what the catalog
// remembers of them: the page the reader left, the use count, the start and
// last pages.
#pragma once

#include "catalog/catalog_window.h"

// Stores the first page on screen in the LastPage cell of the row opened
// last, when that row's location is the folder or archive the viewer has
// open and the page is not the first. Sets `modified` when it stores.
void rememberLastPage(CatalogWindow& catalog);
// The first selected row's UseCount cell raised by one.
void bumpUseCount(CatalogWindow& catalog);
// Shows the page in the first selected row's StartPage (or LastPage) cell
// when it is not 0.
void jumpToStartPage(CatalogWindow& catalog);
void jumpToLastPage(CatalogWindow& catalog);

// A double click on `row` (-1: on no row): the last page of the row opened
// before is remembered, then the row is opened and the viewer brought up.
void openEntry(CatalogWindow& catalog, int row);
// The main window's row commands: `row` alone selected and scrolled into
// view, then opened as openEntry does.
void openCatalogRow(CatalogWindow& catalog, int row);
