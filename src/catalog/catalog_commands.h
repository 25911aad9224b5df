// catalog_commands.h - the catalog window's commands (catalog_ids.h) and the
// keys of its list.
#pragma once

#include "catalog/catalog_window.h"
#include "platform/report_list.h"

void runCatalogCommand(CatalogWindow& catalog, int id);
// Sorts by view column `column`, ascending on its first click.
void sortCatalog(CatalogWindow& catalog, int column);
// A key on the report list; true when it was one of the catalog's.
bool catalogListKey(CatalogWindow& catalog, const platform::ReportEvent& event);
