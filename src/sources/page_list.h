// page_list.h - the pictures of the open folder or archive, and their loading.
//
// There is one PageList in the process. It is rebuilt on every successful
// open, sorted by name, and stepped through by the loads below. It also holds
// the plug-in host, the blocks of the last decoded picture and the last error
// text. Files are always named by full path; the process's current directory
// is never changed or relied on.
//
// Sections of the implementation:
//   page_list.cpp       building and sorting the list, paths and names
//   picture_loader.cpp  open, decodeEntry, loadArchiveEntry, loadPage, loadNextForPair
//   bmp_reader.cpp      the built-in BMP reader
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory_block.h"
#include "sources/error_texts.h"
#include "sources/plugin_host.h"

inline constexpr int kMaxPages = 4000;

// Step modes of loadPage.
enum LoadMode { kRelative = 1, kAbsolute = 2, kFromEnd = 3, kPeek = 4 };

// Results of loadPage and loadNextForPair.
enum LoadResult { kNoList = 0, kLoaded = 1, kDecodeFailed = 2 };

// Results of splitPath.
enum PathClass { kPathMissing = 0, kPathFile = 1, kPathFolder = 2, kPathArchive = 3 };

class PageList {
public:
    // Loads the plug-ins of `pluginFolder` (the executable's folder in the viewer).
    explicit PageList(const std::string& pluginFolder);
    PageList(const PageList&) = delete;
    PageList& operator=(const PageList&) = delete;

    // ---- building (page_list.cpp)
    void buildFolderList(const std::string& picturePath);
    int firstPictureOf(const std::string& folderPath, std::string& fullPath);
    int buildArchiveList(const std::string& archivePath);
    int splitPath(const std::string& path, std::string& folderPart, std::string& name) const;
    // True when `name` has an extension that the built-in reader or an image plug-in takes.
    bool isPictureName(const std::string& name) const;

    // ---- loading (picture_loader.cpp)
    int open(const std::string& path);
    int decodeEntry(int index);
    int loadArchiveEntry(const std::string& archive, int index);
    int loadPage(int n, int how);
    // The entry loadPage(n, how) decodes, wrapped once into the list.
    int stepTarget(int n, int how) const;
    int loadNextForPair();
    // The two loads above without their decode, for a caller that may have
    // the picture at hand: the indices move as the load moves them, and the
    // answer is the entry it would decode, or -1 where it answers kNoList
    // (with errorText set as it sets it).
    int stepTo(int n, int how);
    int stepToPair();

    // What decodeEntry reads of the list, so that a second list can decode
    // this one's entries on another thread.
    struct Listing {
        std::vector<std::string> entries;
        std::vector<std::int32_t> entryPosition, entrySize;
        std::string folder, archivePath, builtinExtension;
        int pageCount = 0, archiveMode = 0, selectedArchive = 0;
    };
    Listing listing() const;
    void adoptListing(const Listing& listing);

    // ---- the built-in reader (bmp_reader.cpp)
    int readBmpFile(const std::string& name);
    int readBmpMemory(platform::MemoryHandle block, std::size_t size);

    std::string builtinExtension = ".bmp";
    int navigable = 0;
    // Bare file names in `folder`, or archive member names without their folder.
    std::vector<std::string> entries;
    // The folder of the last folder list, ending with a separator.
    std::string folder;
    PluginHost host;
    // The last decoded picture. A successful load overwrites both handles without
    // freeing what they held: the caller takes them over after every success.
    platform::MemoryHandle loadedHeader = nullptr;
    platform::MemoryHandle loadedBits = nullptr;
    int currentIndex = 0;
    int pageCount = 0;
    int previousIndex = 0;
    std::string errorText = kNoErrorText;
    int archiveMode = 0;
    std::vector<std::int32_t> entryPosition;
    std::vector<std::int32_t> entrySize;
    std::string archivePath;
    std::string archiveName;
    std::string folderName;

private:
    // The fields that make up the list, kept aside while a new archive list
    // is tried in their place.
    struct Contents {
        std::vector<std::string> entries;
        std::vector<std::int32_t> entryPosition, entrySize;
        int currentIndex = 0, pageCount = 0, previousIndex = 0, navigable = 0;
        std::string archivePath, archiveName;
    };
    Contents takeContents();
    void restoreContents(Contents&& contents);

    enum class ContentDecode { Decoded, PluginFailed, NotTaken };
    // The built-in reader when the extension is its own, then the image
    // plug-ins that list the extension. 1 decoded.
    int decodeByName(const std::string& path);
    // The image plug-ins asked by content, then the built-in reader by content.
    ContentDecode decodeByContent(const std::string& path);
    int decodeFolderEntry(const std::string& path);
    int succeedWithFolderList(const std::string& path);
};

// Sorts `names` (and the two per-entry arrays when given) by the locale's
// case-insensitive order with an exchange sort whose tie behaviour is part of
// the result: entries that compare equal are never swapped with each other.
// When `currentIndex` is given, it follows the entry it names, and
// `previousIndex` is set to it on every move.
void sortEntries(std::vector<std::string>& names, std::vector<std::int32_t>* positions = nullptr,
                 std::vector<std::int32_t>* sizes = nullptr, int* currentIndex = nullptr,
                 int* previousIndex = nullptr);

// The last component of `path` (one trailing separator dropped); 0 when nothing is there.
int displayNameOf(const std::string& path, std::string& name);
// The text from the last "." of the file name to its end; 0 when there is none.
int extensionOf(const std::string& name, std::string& extension);
int pathExists(const std::string& path);
