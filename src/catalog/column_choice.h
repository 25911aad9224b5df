// column_choice.h - the drop-down list of visible columns that several
// catalog dialogs open with: the display names in display order, the first
// chosen, so the chosen index is a display position.
#pragma once

#include "catalog/catalog_list.h"
#include "platform/dialog.h"

void fillColumnChoice(platform::DialogId dialog, int control, const CatalogList& list);
