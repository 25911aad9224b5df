// disc_prompt.h - asking for the disc a catalogued path lies on.
#pragma once

#include <string>

#include "catalog/catalog_window.h"

inline constexpr const char* kDiscPromptText = "CD[%s]をいれてくれ";
inline constexpr const char* kDiscPromptCaption = "ＣＤいれろや";

// Offered a path the viewer could not open. When the catalog shows its
// CdName column, the path is not there and it belongs on a removable drive
// or optical disc, asks for the disc named in the first selected row's CdName
// cell (Retry, Cancel). On Retry the viewer opens the path again (and may ask
// again, or report that open's failure itself): the answer is true, the
// failure handled, and `opened` tells whether that open showed a page. False
// otherwise: the viewer reports the failure as usual.
bool promptForDisc(CatalogWindow& catalog, const std::string& path, bool& opened);
