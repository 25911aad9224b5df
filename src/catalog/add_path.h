// add_path.h - turning a path into a catalog row.
#pragma once

#include <string>

#include "catalog/catalog_list.h"

// Adds a row at the end for `path`: the last component of the path as its
// title, the path as given as its location, the folder icon for a folder and
// the file icon otherwise. Sets `modified`.
void addPath(CatalogList& list, const std::string& path);
