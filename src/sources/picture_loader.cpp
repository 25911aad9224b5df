// The loads of PageList: opening a path, decoding one entry, stepping.
#include "sources/page_list.h"

#include "platform/file_system.h"
#include "platform/text_compare.h"

namespace {

std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    return platform::joinPath(platform::currentDirectory(), path);
}

// `index` wrapped once into 0 .. count - 1.
int wrapOnce(int index, int count) {
    if (index >= count) return index - count;
    if (index < 0) return index + count;
    return index;
}

} // namespace

PageList::Contents PageList::takeContents() {
    Contents taken{std::move(entries), std::move(entryPosition), std::move(entrySize),
                   currentIndex, pageCount, previousIndex, navigable, std::move(archivePath),
                   std::move(archiveName)};
    entries.clear();
    entryPosition.clear();
    entrySize.clear();
    archivePath.clear();
    archiveName.clear();
    return taken;
}

void PageList::restoreContents(Contents&& contents) {
    entries = std::move(contents.entries);
    entryPosition = std::move(contents.entryPosition);
    entrySize = std::move(contents.entrySize);
    currentIndex = contents.currentIndex;
    pageCount = contents.pageCount;
    previousIndex = contents.previousIndex;
    navigable = contents.navigable;
    archivePath = std::move(contents.archivePath);
    archiveName = std::move(contents.archiveName);
}

int PageList::succeedWithFolderList(const std::string& path) {
    buildFolderList(path);
    archiveMode = 0;
    return 1;
}

int PageList::open(const std::string& requested) {
    const std::string path = absolutePath(requested);
    if (platform::pathKind(path) != platform::PathKind::File) {
        if (!pathExists(path)) {
            errorText = kFileNotFoundText;
            return 0;
        }
        // The first picture's own open sets the mode: a file with a picture's
        // name can still open as a book (a multi-page TIFF, an archive known
        // by its content), and its members are then what the reader steps.
        std::string first;
        if (!firstPictureOf(path, first)) return 0;
        return open(first);
    }

    if (decodeByName(path)) return succeedWithFolderList(path);

    const int rememberedArchive = host.selectedArchive;
    if (host.findArchivePlugin(path)) {
        // The archive's list takes the open one's place only once its first
        // picture decodes: a failed open leaves the open book as it was, its
        // list, archive mode and archive plug-in.
        Contents open = takeContents();
        const bool listed = buildArchiveList(path);
        if (listed && loadArchiveEntry(path, 0)) {
            archiveMode = 1;
            return 1;
        }
        errorText = listed ? kArchivePictureBrokenText : kNoPictureInArchiveText;
        restoreContents(std::move(open));
        host.selectedArchive = rememberedArchive;
        return 0;
    }

    switch (decodeByContent(path)) {
    case ContentDecode::Decoded:
        return succeedWithFolderList(path);
    case ContentDecode::PluginFailed:
        return 0;
    case ContentDecode::NotTaken:
        break;
    }
    errorText = pathExists(path) ? kNotSupportedText : kFileNotFoundText;
    return 0;
}

int PageList::decodeEntry(int index) {
    // An empty list has no entry to clamp to.
    if (pageCount <= 0 || static_cast<int>(entries.size()) < pageCount) {
        errorText = kNotSupportedText;
        return 0;
    }
    if (index >= pageCount) {
        index = pageCount - 1;
        currentIndex = index;
    } else if (index < 0) {
        index = 0;
        currentIndex = index;
    }
    if (archiveMode) {
        if (loadArchiveEntry(archivePath, index)) return 1;
        errorText = kNotSupportedText;
        return 0;
    }
    return decodeFolderEntry(platform::joinPath(folder, entries[static_cast<std::size_t>(index)]));
}

PageList::Listing PageList::listing() const {
    return {entries,    entryPosition, entrySize,   folder,
            archivePath, builtinExtension, pageCount, archiveMode,
            host.selectedArchive};
}

void PageList::adoptListing(const Listing& listing) {
    entries = listing.entries;
    entryPosition = listing.entryPosition;
    entrySize = listing.entrySize;
    folder = listing.folder;
    archivePath = listing.archivePath;
    builtinExtension = listing.builtinExtension;
    pageCount = listing.pageCount;
    archiveMode = listing.archiveMode;
    host.selectedArchive = listing.selectedArchive;
}

int PageList::decodeByName(const std::string& path) {
    std::string extension;
    extensionOf(path, extension);
    if (platform::equalsNoCase(extension, builtinExtension) && readBmpFile(path)) return 1;
    return host.decodeByExtension(path, extension, &loadedHeader, &loadedBits);
}

PageList::ContentDecode PageList::decodeByContent(const std::string& path) {
    if (host.findImagePluginForFile(path)) {
        // Once a plug-in has taken the file, no other decoder is tried.
        if (host.decodeFile(path, &loadedHeader, &loadedBits) == 0) return ContentDecode::Decoded;
        errorText = kDecodeErrorText;
        return ContentDecode::PluginFailed;
    }
    return readBmpFile(path) ? ContentDecode::Decoded : ContentDecode::NotTaken;
}

int PageList::decodeFolderEntry(const std::string& path) {
    if (decodeByName(path)) return 1;
    switch (decodeByContent(path)) {
    case ContentDecode::Decoded:
        return 1;
    case ContentDecode::PluginFailed:
        return 0;
    case ContentDecode::NotTaken:
        break;
    }
    errorText = kNotSupportedText;
    return 0;
}

int PageList::loadArchiveEntry(const std::string& archive, int index) {
    if (index < 0 || index >= static_cast<int>(entryPosition.size()) ||
        index >= static_cast<int>(entrySize.size()))
        return 0;
    platform::MemoryHandle block = nullptr;
    if (!host.extractEntry(archive, entryPosition[static_cast<std::size_t>(index)], &block))
        return 0;
    // A negative size from a hostile listing reads as nothing.
    const std::int32_t listed = entrySize[static_cast<std::size_t>(index)];
    const std::size_t size = listed > 0 ? static_cast<std::size_t>(listed) : 0;
    int result = 0;
    if (host.findImagePluginForMemory(block) &&
        host.decodeMemory(block, size, &loadedHeader, &loadedBits) == 0)
        result = 1;
    else
        result = readBmpMemory(block, size);
    platform::freeBlock(block);
    return result;
}

int PageList::stepTarget(int n, int how) const {
    int index = currentIndex;
    if (how == kRelative || how == kPeek)
        index += n;
    else if (how == kAbsolute)
        index = n;
    else if (how == kFromEnd)
        index = pageCount - n - 1;
    return wrapOnce(index, pageCount);
}

int PageList::stepTo(int n, int how) {
    if (!navigable) {
        errorText = kCannotOpenNextText;
        return -1;
    }
    if (how == kPeek) return stepTarget(n, how);
    previousIndex = currentIndex;
    currentIndex = stepTarget(n, how);
    return currentIndex;
}

int PageList::stepToPair() {
    if (!navigable || pageCount == 1) return -1;
    previousIndex = currentIndex;
    currentIndex += 1;
    if (currentIndex >= pageCount) currentIndex = 0;
    return currentIndex;
}

int PageList::loadPage(int n, int how) {
    const int index = stepTo(n, how);
    if (index < 0) return kNoList;
    return decodeEntry(index) ? kLoaded : kDecodeFailed;
}

int PageList::loadNextForPair() {
    const int index = stepToPair();
    if (index < 0) return kNoList;
    return decodeEntry(index) ? kLoaded : kDecodeFailed;
}
