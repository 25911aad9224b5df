#include "catalog/add_path.h"

#include "platform/file_system.h"
#include "sources/page_list.h"

void addPath(CatalogList& list, const std::string& path) {
    std::string name;
    displayNameOf(path, name);
    int icon = platform::pathKind(path) == platform::PathKind::Folder ? kIconFolder : kIconFile;
    RowCells cells;
    cells.resize(std::size_t(list.visibleCount));
    cells.set(0, name);
    int location = columnPosition(list, kColumnLocation);
    if (location >= 0) cells.set(std::size_t(location), path);
    appendRow(list, icon, std::move(cells));
    list.modified = true;
}
