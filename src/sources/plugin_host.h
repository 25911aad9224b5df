// plugin_host.h - the Susie plug-ins beside the executable and the calls made to them.
//
// A host is used from one thread; several hosts on several threads may call
// the same plug-ins (see PluginRecord::callLock).
//
// Image plug-ins ("00IN") decode pictures; archive plug-ins ("00AM") list and
// extract members. The host registers them in the order the file system lists
// the *.spi files, records the extensions each one claims, builds the filter
// of the open dialog from their descriptions, and offers the calls the page
// list and the loader need. It sets no message texts: callers choose them.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/memory_block.h"
#include "platform/shared_library.h"
#include "susie_plugin.h"

inline constexpr int kMaxImagePlugins = 256;
inline constexpr int kMaxArchivePlugins = 64;
inline constexpr std::size_t kOpenFilterLimit = 4096;
inline constexpr std::size_t kExtensionTextLimit = 512;
inline constexpr std::size_t kPluginTextLimit = 256;

// The open dialog's first two filters; "/" stands for the zero separators.
inline constexpr char kFilterTemplate[] = "All Files(*.*)/*.*/BMP files(*.bmp)/*.bmp/";

struct PluginRecord {
    platform::LibraryHandle library = nullptr;
    // The patterns of every type pair, appended one after the other exactly as
    // GetPluginInfo counted them, then one zero. Matching stops at the first
    // zero, so a plug-in whose counts include the terminator is matched on its
    // first pattern only.
    std::string extensionText;
    std::string libraryName; // the file name, as the folder listing spells it
    std::string infoText;    // GetPluginInfo(1)
    SpiIsSupported isSupported = nullptr;
    SpiGetPicture getPicture = nullptr;         // image plug-ins
    SpiGetArchiveInfo getArchiveInfo = nullptr; // archive plug-ins
    SpiGetFile getFile = nullptr;               // archive plug-ins
    // Held during every call into a plug-in that does not declare its calls
    // may overlap; shared by every host that loaded the same library, so
    // that two threads with hosts of their own still call it one at a time.
    std::shared_ptr<std::mutex> callLock;
};

// One archive member as listArchive reports it.
struct ArchiveMember {
    std::string name; // the member's file name, without its folder
    std::int32_t position = 0;
    std::int32_t size = 0;
};

class PluginHost {
public:
    PluginHost();
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Registers every *.spi in `folder`; 0 when there is none, else 1.
    int loadPlugins(const std::string& folder);
    // Frees every registered library: the image plug-ins, then the archive ones.
    void unloadPlugins();

    int isImageExtension(const std::string& extension) const;
    int isArchiveExtension(const std::string& extension) const;

    // Asks each image plug-in whose patterns list `extension` whether it takes
    // the file; the first that does decodes it. 1 when decoded.
    int decodeByExtension(const std::string& file, const std::string& extension,
                          platform::MemoryHandle* info, platform::MemoryHandle* bits);
    int findImagePluginForFile(const std::string& file);
    // GetPicture of the selected image plug-in; its result, 0 meaning success.
    int decodeFile(const std::string& file, platform::MemoryHandle* info,
                   platform::MemoryHandle* bits);
    int findArchivePlugin(const std::string& file);
    // At most `maximum` members of the archive, in the plug-in's order. 1 listed.
    int listArchive(const std::string& archive, std::vector<ArchiveMember>& members, int maximum);
    // GetFile of the selected archive plug-in into a new block; the caller frees it.
    int extractEntry(const std::string& archive, std::int32_t position,
                     platform::MemoryHandle* out);
    // `block` holds a whole file image.
    int findImagePluginForMemory(platform::MemoryHandle block);
    int decodeMemory(platform::MemoryHandle block, std::size_t size, platform::MemoryHandle* info,
                     platform::MemoryHandle* bits);

    // The lines of the plug-in information dialog: the archive plug-ins' texts
    // in registration order, then the image plug-ins'.
    std::vector<std::string> informationLines() const;

    const std::vector<PluginRecord>& imagePlugins() const { return images_; }
    const std::vector<PluginRecord>& archivePlugins() const { return archives_; }
    // Pairs of zero-terminated texts (description, patterns), ended by an empty text.
    const std::string& openFilter() const { return openFilter_; }

    int selectedImage = 0;
    int selectedArchive = 0;

private:
    void registerPlugin(platform::LibraryHandle library, const std::string& fileName);
    void appendToFilter(const char* text, int count);
    int askFile(const PluginRecord& plugin, const std::string& file, int* opened) const;
    int decodeWith(int index, const std::string& file, platform::MemoryHandle* info,
                   platform::MemoryHandle* bits);

    std::vector<PluginRecord> images_;
    std::vector<PluginRecord> archives_;
    std::string openFilter_;
};

// True when `extensionText`, scanned up to its first zero, holds a pattern
// token equal to `extension` (letter case ignored). "*" and " " are skipped,
// ";" separates tokens.
bool extensionTextLists(const std::string& extensionText, const std::string& extension);
