// folder_tree_command.h - the catalog window's command that adds a whole
// folder tree, behind a progress window.
#pragma once

#include "catalog/catalog_window.h"

inline constexpr const char* kFolderTreeTitle =
    "追加する親ディレクトリ指定（これ以下ファイルが存在するフォルダが追加されます)";

// Asks for a folder and adds it and every folder below it that holds files
// (addFolderRecursive), under the wait cursor and a progress window of the
// folders done of the folders found; its cancel button stops the walk and
// keeps the rows added so far. The list shows the rows as they come.
void addFolderTree(CatalogWindow& catalog);
