// add_path.h - turning a path into a catalog row.
#pragma once

#include <string>

#include "catalog/catalog_list.h"

class PageList;

// Adds a row at the end for `path`, never asking whether the path is there
// already: its name on disk as the title, the path as given as the location,
// the folder, archive (an extension an archive plug-in of `pages` lists) or
// file icon, and the automatic cells the visible columns ask for. A path not
// found gets its last component as the title and the folder icon. Sets
// `modified`.
void addPath(CatalogList& list, const PageList& pages, const std::string& path);
