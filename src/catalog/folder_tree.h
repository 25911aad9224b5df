// folder_tree.h - adding every folder of a tree that holds files of its own.
#pragma once

#include <functional>
#include <string>

#include "catalog/catalog_list.h"

class PageList;

// Told after each folder, with the folders done and the folders found so
// far (found grows as folders are listed); false stops the walk.
using TreeProgress = std::function<bool(int done, int found)>;

// Adds a row (addPath) for `folder` and for every folder below it that
// directly holds something that is not a folder: a folder before its
// sub-folders, these in the order the file system lists them. A folder whose
// name begins with "." is skipped with everything below it, and so is a
// folder that cannot be listed or that the walk has been in already (a link
// back up the tree), so every walk ends. False when `progress` stopped it;
// the rows added until then stay.
bool addFolderRecursive(CatalogList& list, const PageList& pages, const std::string& folder,
                        const TreeProgress& progress = {});
