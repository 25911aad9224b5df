// catalog_files.h - the File menu: new, open, save as, save.
#pragma once

#include "catalog/catalog_window.h"

inline constexpr const char* kFailedText = "失敗したッス";
inline constexpr const char* kFailedCaption = "あらら";

// New and Open ask first when the list has changes; a failed or cancelled
// save leaves the changes marked.
void newCatalog(CatalogWindow& catalog);
void openCatalogFile(CatalogWindow& catalog);
void saveCatalogAs(CatalogWindow& catalog);
void saveCatalog(CatalogWindow& catalog);
