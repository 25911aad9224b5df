#include "catalog/folder_tree.h"

#include <algorithm>
#include <set>
#include <vector>

#include "catalog/add_path.h"
#include "platform/file_system.h"

bool addFolderRecursive(CatalogList& list, const PageList& pages, const std::string& folder,
                        const TreeProgress& progress) {
    // Folders still to visit, the next on top; a folder's sub-folders go on
    // in reverse so they come off in the order they were listed.
    std::vector<std::string> pending{folder};
    std::set<platform::FileIdentity> visited;
    int done = 0, found = 1;
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        auto identity = platform::fileIdentity(path);
        auto listing = identity && visited.insert(*identity).second ? platform::listFolder(path)
                                                                    : std::nullopt;
        if (listing) {
            bool holdsFiles = false;
            std::size_t children = pending.size();
            for (const platform::FolderEntry& entry : *listing) {
                if (!entry.isFolder)
                    holdsFiles = true;
                else if (entry.name.front() != '.')
                    pending.push_back(platform::joinPath(path, entry.name));
            }
            std::reverse(pending.begin() + std::ptrdiff_t(children), pending.end());
            found += int(pending.size() - children);
            if (holdsFiles) addPath(list, pages, path);
        }
        ++done;
        if (progress && !progress(done, found)) return false;
    }
    return true;
}
