// disc_prompt.h - asking for the disc a catalogued path lies on.
#pragma once

#include <string>

#include "catalog/catalog_window.h"

inline constexpr const char* kDiscPromptText = "CD[%s]をいれてくれ";
inline constexpr const char* kDiscPromptCaption = "ＣＤいれろや";

// Offered a path the viewer could not open. When the catalog shows its
// CdName column, the path is not there and it belongs on a removable drive
// or optical disc, asks for the disc named in
// the first selected row's CdName cell (Retry, Cancel); on Retry the viewer
// opens the path again (and may ask again) and the answer is true: the
// failure is handled. False otherwise: the viewer reports it as usual.
bool promptForDisc(CatalogWindow& catalog, const std::string& path);
