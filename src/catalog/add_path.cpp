#include "catalog/add_path.h"

#include "catalog/automatic_fields.h"
#include "sources/page_list.h"

namespace {

// The last component of a path the file system does not find, its trailing
// separators dropped.
std::string lastComponentOf(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace

void addPath(CatalogList& list, const PageList& pages, const std::string& path) {
    std::string folderPart, name;
    int icon = kIconFolder;
    switch (pages.splitPath(path, folderPart, name)) {
    case kPathFile:
        icon = kIconFile;
        break;
    case kPathArchive:
        icon = kIconArchive;
        break;
    case kPathMissing:
        name = lastComponentOf(path);
        break;
    default:
        break;
    }
    if (name.empty()) name = path; // the root has no last component
    RowCells cells;
    cells.resize(std::size_t(list.visibleCount));
    cells.set(0, name);
    int location = columnPosition(list, kColumnLocation);
    if (location >= 0) cells.set(std::size_t(location), path);
    appendRow(list, icon, std::move(cells));
    fillAutomaticFields(list, path, int(list.rows.size()) - 1);
    list.modified = true;
}
