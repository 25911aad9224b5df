// catalog_link.h - the main window's side of the catalog window: making it,
// showing and hiding it, opening its rows, the keyboard focus between the
// two windows, adding the open folder or file to it, its transparency and
// its end.
#pragma once

// Makes the catalog window, hidden (the main window's set-up).
void createCatalog();
// 40108: hidden, it is shown without taking the keyboard; shown, it is hidden.
void toggleCatalog();
// "/list": shown without taking the keyboard.
void showCatalog();
// 40120, 40121, 40122, 40133: the selected row, the one above, the one
// below, a random one.
void openRowFromCatalog(int id);
// 40109: the open archive, else the open folder, added as a catalog row.
// 40110: the open archive, else the picture shown (the first page of a
// spread). Both do nothing while nothing is shown.
void addOpenFolderToCatalog();
void addCurrentFileToCatalog();
// Tab: the catalog's list takes the keyboard, when the catalog is shown.
void focusCatalogList();
// The transparency setting applied to the catalog window.
void applyCatalogTransparency();
// At the viewer's end, once the settings are written: the catalog asks to
// save a changed list and goes.
void quitCatalog();
