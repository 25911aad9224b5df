// automatic_fields.h - the cells the catalog fills from an entry's path: its
// dates, its disc's name and the statistics of its pictures.
#pragma once

#include <string>

#include "catalog/catalog_list.h"

// Collects the entry statistics of `path` as deep as the visible columns
// need (dates and disc name; the file count; the JPEG scan) and overwrites
// the visible ones of the thirteen automatic cells of `row`; hidden columns,
// the title, location, type and user cells stay as they are. False, with
// nothing done, when none of the thirteen columns is visible.
bool fillAutomaticFields(CatalogList& list, const std::string& path, int row);
