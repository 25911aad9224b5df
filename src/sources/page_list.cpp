#include "sources/page_list.h"

#include <utility>

#include "platform/file_system.h"
#include "platform/text_compare.h"

namespace {

// `path` without one trailing separator (a lone "/" stays).
std::string withoutTrailingSeparator(const std::string& path) {
    if (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        return path.substr(0, path.size() - 1);
    return path;
}

std::string lastComponent(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

PageList::PageList(const std::string& pluginFolder) {
    host.loadPlugins(pluginFolder);
}

void sortEntries(std::vector<std::string>& names, std::vector<std::int32_t>* positions,
                 std::vector<std::int32_t>* sizes, int* currentIndex, int* previousIndex) {
    const int n = static_cast<int>(names.size());
    // The collation keys are made once; comparing keys gives the order of the
    // locale's comparison at the cost of a byte comparison, which keeps the
    // quadratic sort of 4000 names fast.
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (const std::string& name : names)
        keys.push_back(platform::sortKeyNoCase(name));

    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i; j < n; ++j) {
            if (keys[i].compare(keys[j]) <= 0) continue;
            std::swap(keys[i], keys[j]);
            std::swap(names[i], names[j]);
            if (positions) std::swap((*positions)[i], (*positions)[j]);
            if (sizes) std::swap((*sizes)[i], (*sizes)[j]);
            if (!currentIndex) continue;
            if (*currentIndex == j) {
                *currentIndex = i;
            } else if (*currentIndex == i) {
                *currentIndex = j;
            } else {
                continue;
            }
            if (previousIndex) *previousIndex = *currentIndex;
        }
    }
}

int displayNameOf(const std::string& path, std::string& name) {
    std::string trimmed = withoutTrailingSeparator(path);
    if (platform::pathKind(trimmed) == platform::PathKind::Missing) return 0;
    name = lastComponent(trimmed);
    return 1;
}

int extensionOf(const std::string& name, std::string& extension) {
    // Only the file name counts: a dot in a folder name is no extension.
    std::string fileName = lastComponent(name);
    std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) {
        extension.clear();
        return 0;
    }
    extension = fileName.substr(dot);
    return 1;
}

int pathExists(const std::string& path) {
    return platform::pathKind(path) != platform::PathKind::Missing ? 1 : 0;
}

bool PageList::isPictureName(const std::string& name) const {
    std::string extension;
    if (!extensionOf(name, extension)) return false;
    return platform::equalsNoCase(extension, builtinExtension) || host.isImageExtension(extension);
}

int PageList::splitPath(const std::string& path, std::string& folderPart, std::string& name) const {
    std::string trimmed = withoutTrailingSeparator(path);
    platform::PathKind kind = platform::pathKind(trimmed);
    if (kind == platform::PathKind::Missing) return kPathMissing;
    name = lastComponent(trimmed);
    folderPart = trimmed.substr(0, trimmed.size() - name.size());
    if (kind == platform::PathKind::Folder) return kPathFolder;
    std::string extension;
    if (extensionOf(name, extension) && host.isArchiveExtension(extension)) return kPathArchive;
    return kPathFile;
}

void PageList::buildFolderList(const std::string& picturePath) {
    std::string folderPart, onDiskName;
    splitPath(picturePath, folderPart, onDiskName);
    folder = folderPart;
    displayNameOf(folder, folderName);
    currentIndex = 0;
    pageCount = 0;
    entries.clear();
    entryPosition.clear();
    entrySize.clear();

    auto listing = platform::listFolder(folder);
    if (!listing) {
        navigable = 0;
        return;
    }
    // The opened file is found by its exact name first. Only when no entry has
    // it does the comparison without case decide: on a case-sensitive file
    // system "a.jpg" and "A.jpg" can both exist, and opening one must not show
    // the other.
    int exactMatch = -1, caseMatch = -1;
    for (const platform::FolderEntry& entry : *listing) {
        if (pageCount >= kMaxPages) break;
        if (entry.isFolder || !isPictureName(entry.name)) continue;
        if (entry.name == onDiskName && exactMatch < 0) exactMatch = pageCount;
        if (platform::equalsNoCase(entry.name, onDiskName)) caseMatch = pageCount;
        entries.push_back(entry.name);
        ++pageCount;
    }
    entryPosition.assign(entries.size(), 0);
    entrySize.assign(entries.size(), 0);
    navigable = pageCount != 0 ? 1 : 0;
    const int match = exactMatch >= 0 ? exactMatch : caseMatch;
    // A file the list does not hold (a picture known only by its content)
    // leaves the first page current.
    if (match < 0) {
        sortEntries(entries);
        return;
    }
    currentIndex = previousIndex = match;
    sortEntries(entries, nullptr, nullptr, &currentIndex, &previousIndex);
}

int PageList::firstPictureOf(const std::string& folderPath, std::string& fullPath) {
    auto listing = platform::listFolder(folderPath);
    if (!listing) {
        errorText = kSearchHandleText;
        return 0;
    }
    std::vector<std::string> names;
    for (const platform::FolderEntry& entry : *listing) {
        if (static_cast<int>(names.size()) >= kMaxPages) break;
        if (!entry.isFolder && isPictureName(entry.name)) names.push_back(entry.name);
    }
    if (names.empty()) {
        errorText = kNoPictureInFolderText;
        return 0;
    }
    sortEntries(names);
    fullPath = platform::joinPath(folderPath, names.front());
    return 1;
}

int PageList::buildArchiveList(const std::string& path) {
    std::vector<ArchiveMember> members;
    if (!host.listArchive(path, members, kMaxPages) || members.empty()) return 0;

    std::vector<std::string> names;
    std::vector<std::int32_t> positions, sizes;
    for (ArchiveMember& member : members) {
        names.push_back(std::move(member.name));
        positions.push_back(member.position);
        sizes.push_back(member.size);
    }
    sortEntries(names, &positions, &sizes);

    std::vector<std::string> pictures;
    std::vector<std::int32_t> picturePositions, pictureSizes;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!isPictureName(names[i])) continue;
        pictures.push_back(std::move(names[i]));
        picturePositions.push_back(positions[i]);
        pictureSizes.push_back(sizes[i]);
    }
    if (pictures.empty()) return 0;

    entries = std::move(pictures);
    entryPosition = std::move(picturePositions);
    entrySize = std::move(pictureSizes);
    pageCount = static_cast<int>(entries.size());
    currentIndex = 0;
    previousIndex = 0;
    // A one-picture archive has nothing to step to; a one-picture folder is
    // still navigable.
    navigable = pageCount >= 2 ? 1 : 0;
    archivePath = path;
    displayNameOf(path, archiveName);
    return 1;
}
