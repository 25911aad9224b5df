#include "sources/plugin_host.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/file_system.h"
#include "platform/read_only_file.h"
#include "platform/text_compare.h"
#include "sources/plain_dib.h"

namespace {

constexpr unsigned kOutputToMemory = SPI_OUTPUT_MEMORY;

// The extension of a library file name, for picking *.spi out of a listing.
bool isPluginFileName(const std::string& name) {
    return name.size() > 4 && platform::equalsNoCase(name.substr(name.size() - 4), ".spi");
}

// GetPluginInfo's count, held to what the buffer can hold: a plug-in that
// claims more than it was given must not make the host read past the buffer.
int askInfo(SpiGetPluginInfo getInfo, int number, char* buffer, int length) {
    std::memset(buffer, 0, static_cast<std::size_t>(length));
    int count = getInfo(number, buffer, length);
    return std::clamp(count, 0, length);
}

// The tokens of an extension text, up to and including its first zero.
std::vector<std::string> patternTokens(const std::string& extensionText) {
    std::vector<std::string> tokens;
    std::string token;
    for (char c : extensionText) {
        if (c == '*' || c == ' ') continue;
        if (c == ';' || c == '\0') {
            if (!token.empty()) tokens.push_back(token);
            token.clear();
            if (c == '\0') return tokens;
            continue;
        }
        token += c;
    }
    if (!token.empty()) tokens.push_back(token);
    return tokens;
}

bool anyPluginLists(const std::vector<PluginRecord>& plugins, const std::string& extension) {
    return std::any_of(plugins.begin(), plugins.end(), [&](const PluginRecord& plugin) {
        return extensionTextLists(plugin.extensionText, extension);
    });
}

// GetPicture's result, with the picture in its plain form (see plain_dib.h).
// A success that left an unusable block, or a picture that cannot be made
// plain, becomes a failure: it would hand garbage to the picture buffer.
int checkedPicture(int result, platform::MemoryHandle* info, platform::MemoryHandle* bits) {
    if (result != SPI_ALL_RIGHT) return result;
    if (platform::isValidBlock(*info) && platform::isValidBlock(*bits))
        return makePlain(info, bits) ? SPI_ALL_RIGHT : SPI_OUT_OF_ORDER;
    if (platform::isValidBlock(*info)) platform::freeBlock(*info);
    if (platform::isValidBlock(*bits)) platform::freeBlock(*bits);
    *info = *bits = nullptr;
    return SPI_MEMORY_ERROR;
}

// The call lock of `library`, one for every host that loads it (the system
// hands out one handle per library, however often it is opened).
std::shared_ptr<std::mutex> callLockOf(platform::LibraryHandle library) {
    static std::mutex guard;
    static std::map<platform::LibraryHandle, std::weak_ptr<std::mutex>> locks;
    const std::lock_guard<std::mutex> hold(guard);
    std::weak_ptr<std::mutex>& entry = locks[library];
    std::shared_ptr<std::mutex> lock = entry.lock();
    if (!lock) {
        lock = std::make_shared<std::mutex>();
        entry = lock;
    }
    return lock;
}

// Runs `call` into `plugin`, one at a time unless its calls may overlap.
template <typename Call>
int callInto(const PluginRecord& plugin, Call call) {
    std::unique_lock<std::mutex> hold;
    if (plugin.callLock) hold = std::unique_lock<std::mutex>(*plugin.callLock);
    return call();
}

} // namespace

bool extensionTextLists(const std::string& extensionText, const std::string& extension) {
    for (const std::string& token : patternTokens(extensionText))
        if (platform::equalsNoCase(token, extension)) return true;
    return false;
}

PluginHost::PluginHost() {
    openFilter_ = kFilterTemplate;
    std::replace(openFilter_.begin(), openFilter_.end(), '/', '\0');
}

PluginHost::~PluginHost() {
    unloadPlugins();
}

int PluginHost::loadPlugins(const std::string& folder) {
    auto listing = platform::listFolder(folder);
    bool found = false;
    if (listing) {
        for (const platform::FolderEntry& entry : *listing) {
            if (entry.isFolder || !isPluginFileName(entry.name)) continue;
            found = true;
            platform::LibraryHandle library =
                platform::loadLibrary(platform::joinPath(folder, entry.name));
            if (!library) continue;
            registerPlugin(library, entry.name);
        }
    }
    // The closing empty text; the filter always keeps room for it.
    openFilter_ += '\0';
    return found ? 1 : 0;
}

void PluginHost::registerPlugin(platform::LibraryHandle library, const std::string& fileName) {
    auto getInfo =
        reinterpret_cast<SpiGetPluginInfo>(platform::findFunction(library, "GetPluginInfo"));
    if (!getInfo) {
        platform::freeLibrary(library);
        return;
    }
    char kind[5];
    askInfo(getInfo, 0, kind, sizeof kind);
    const bool isImage = std::memcmp(kind, SPI_KIND_IMAGE, 4) == 0;
    const bool isArchive = std::memcmp(kind, SPI_KIND_ARCHIVE, 4) == 0;
    std::vector<PluginRecord>& table = isImage ? images_ : archives_;
    const std::size_t limit = isImage ? kMaxImagePlugins : kMaxArchivePlugins;

    PluginRecord plugin;
    plugin.library = library;
    plugin.libraryName = fileName;
    plugin.isSupported =
        reinterpret_cast<SpiIsSupported>(platform::findFunction(library, "IsSupported"));
    plugin.getPicture =
        reinterpret_cast<SpiGetPicture>(platform::findFunction(library, "GetPicture"));
    plugin.getArchiveInfo =
        reinterpret_cast<SpiGetArchiveInfo>(platform::findFunction(library, "GetArchiveInfo"));
    plugin.getFile = reinterpret_cast<SpiGetFile>(platform::findFunction(library, "GetFile"));
    auto mayOverlap = reinterpret_cast<SpiCallsMayOverlap>(
        platform::findFunction(library, "CallsMayOverlap"));
    if (!mayOverlap || !mayOverlap()) plugin.callLock = callLockOf(library);
    // A plug-in lacking a function its kind needs could only be called through
    // a null pointer later; it is not registered at all.
    const bool complete = plugin.isSupported && (isImage ? plugin.getPicture != nullptr
                                                         : plugin.getArchiveInfo && plugin.getFile);
    if ((!isImage && !isArchive) || !complete || table.size() >= limit) {
        platform::freeLibrary(library);
        return;
    }

    char text[kPluginTextLimit];
    int count = askInfo(getInfo, 1, text, sizeof text);
    plugin.infoText.assign(text, strnlen(text, static_cast<std::size_t>(count)));

    for (int pair = 0;; ++pair) {
        count = askInfo(getInfo, 2 * pair + 3, text, sizeof text);
        appendToFilter(text, count);
        count = askInfo(getInfo, 2 * pair + 2, text, sizeof text);
        appendToFilter(text, count);
        // Keep one place for the terminating zero.
        std::size_t room = kExtensionTextLimit - 1 - plugin.extensionText.size();
        plugin.extensionText.append(text, std::min(static_cast<std::size_t>(count), room));
        // Once the extension text is full no later pattern could be matched:
        // the asking ends there, even for a plug-in that never answers 0.
        if (count == 0 || plugin.extensionText.size() == kExtensionTextLimit - 1) break;
    }
    plugin.extensionText += '\0';
    table.push_back(std::move(plugin));
}

void PluginHost::appendToFilter(const char* text, int count) {
    if (count <= 0) return;
    // Room is kept for a closing zero after this text and for the final empty
    // text, so a cut filter is still a well-formed list.
    const std::size_t room =
        kOpenFilterLimit - 2 - std::min(openFilter_.size(), kOpenFilterLimit - 2);
    openFilter_.append(text, std::min(static_cast<std::size_t>(count), room));
    if (openFilter_.back() != '\0') openFilter_ += '\0';
}

void PluginHost::unloadPlugins() {
    for (PluginRecord& plugin : images_)
        platform::freeLibrary(plugin.library);
    for (PluginRecord& plugin : archives_)
        platform::freeLibrary(plugin.library);
    images_.clear();
    archives_.clear();
}

int PluginHost::isImageExtension(const std::string& extension) const {
    return anyPluginLists(images_, extension) ? 1 : 0;
}

int PluginHost::isArchiveExtension(const std::string& extension) const {
    return anyPluginLists(archives_, extension) ? 1 : 0;
}

// Asks one plug-in about a file opened for reading. *opened is 0 when the file
// could not be opened, which ends every search.
int PluginHost::askFile(const PluginRecord& plugin, const std::string& file, int* opened) const {
    platform::ReadOnlyFile handle(file);
    *opened = handle.isOpen() ? 1 : 0;
    if (!handle.isOpen()) return 0;
    return callInto(plugin, [&] {
               return plugin.isSupported(file.c_str(),
                                         static_cast<uintptr_t>(handle.descriptor()));
           }) != 0;
}

int PluginHost::decodeWith(int index, const std::string& file, platform::MemoryHandle* info,
                           platform::MemoryHandle* bits) {
    selectedImage = index;
    return decodeFile(file, info, bits) == 0 ? 1 : 0;
}

int PluginHost::decodeByExtension(const std::string& file, const std::string& extension,
                                  platform::MemoryHandle* info, platform::MemoryHandle* bits) {
    if (platform::pathKind(file) == platform::PathKind::Folder) return 0;
    for (std::size_t index = 0; index < images_.size(); ++index) {
        // Every matching token asks again: a plug-in that lists the extension
        // twice is asked twice, as the matching goes token by token.
        for (const std::string& token : patternTokens(images_[index].extensionText)) {
            if (!platform::equalsNoCase(token, extension)) continue;
            int opened = 0;
            if (askFile(images_[index], file, &opened))
                return decodeWith(static_cast<int>(index), file, info, bits);
            if (!opened) return 0;
        }
    }
    return 0;
}

int PluginHost::findImagePluginForFile(const std::string& file) {
    if (platform::pathKind(file) == platform::PathKind::Folder) return 0;
    for (std::size_t index = 0; index < images_.size(); ++index) {
        int opened = 0;
        if (askFile(images_[index], file, &opened)) {
            selectedImage = static_cast<int>(index);
            return 1;
        }
        if (!opened) return 0;
    }
    return 0;
}

int PluginHost::decodeFile(const std::string& file, platform::MemoryHandle* info,
                           platform::MemoryHandle* bits) {
    if (selectedImage < 0 || selectedImage >= static_cast<int>(images_.size()))
        return SPI_OTHER_ERROR;
    *info = nullptr;
    *bits = nullptr;
    const PluginRecord& plugin = images_[static_cast<std::size_t>(selectedImage)];
    int result = callInto(plugin, [&] {
        return plugin.getPicture(file.c_str(), 0, SPI_INPUT_FILE, info, bits, nullptr, 0);
    });
    return checkedPicture(result, info, bits);
}

int PluginHost::findArchivePlugin(const std::string& file) {
    if (platform::pathKind(file) == platform::PathKind::Folder) return 0;
    for (std::size_t index = 0; index < archives_.size(); ++index) {
        int opened = 0;
        if (askFile(archives_[index], file, &opened)) {
            selectedArchive = static_cast<int>(index);
            return 1;
        }
        if (!opened) return 0;
    }
    return 0;
}

int PluginHost::listArchive(const std::string& archive, std::vector<ArchiveMember>& members,
                            int maximum) {
    members.clear();
    if (selectedArchive < 0 || selectedArchive >= static_cast<int>(archives_.size())) return 0;
    const PluginRecord& plugin = archives_[static_cast<std::size_t>(selectedArchive)];
    platform::MemoryHandle listing = nullptr;
    int result = callInto(
        plugin, [&] { return plugin.getArchiveInfo(archive.c_str(), 0, SPI_INPUT_FILE, &listing); });
    if (platform::equalsNoCase(plugin.libraryName, "lhasad.spi")) {
        // This plug-in reports failure even when it lists; only its block counts.
        if (!platform::isValidBlock(listing)) return 0;
    } else if (result != SPI_ALL_RIGHT || !platform::isValidBlock(listing)) {
        if (platform::isValidBlock(listing)) platform::freeBlock(listing);
        return 0;
    }

    // The run ends at a record whose first byte is zero, or at the end of the
    // block when a plug-in forgot the terminating record.
    const unsigned char* bytes = platform::lockBlock(listing);
    const std::size_t recordCount = platform::blockSize(listing) / sizeof(SpiFileInfo);
    for (std::size_t i = 0; i < recordCount && static_cast<int>(members.size()) < maximum; ++i) {
        SpiFileInfo record;
        std::memcpy(&record, bytes + i * sizeof record, sizeof record);
        if (record.method[0] == 0) break;
        ArchiveMember member;
        member.name.assign(record.filename, strnlen(record.filename, sizeof record.filename));
        member.position = static_cast<std::int32_t>(record.position);
        member.size = static_cast<std::int32_t>(record.filesize);
        members.push_back(std::move(member));
    }
    platform::freeBlock(listing);
    return 1;
}

int PluginHost::extractEntry(const std::string& archive, std::int32_t position,
                             platform::MemoryHandle* out) {
    *out = nullptr;
    if (selectedArchive < 0 || selectedArchive >= static_cast<int>(archives_.size())) return 0;
    const PluginRecord& plugin = archives_[static_cast<std::size_t>(selectedArchive)];
    int result = callInto(plugin, [&] {
        return plugin.getFile(archive.c_str(), position, reinterpret_cast<char*>(out),
                              kOutputToMemory, nullptr, 0);
    });
    if (result == SPI_ALL_RIGHT && platform::isValidBlock(*out)) return 1;
    if (platform::isValidBlock(*out)) platform::freeBlock(*out);
    *out = nullptr;
    return 0;
}

int PluginHost::findImagePluginForMemory(platform::MemoryHandle block) {
    if (!platform::isValidBlock(block)) return 0;
    // Plug-ins may read SPI_SNIFF_BYTES of the image whatever its size: a short
    // image is handed over in a zero-padded copy.
    const unsigned char* bytes = platform::lockBlock(block);
    std::vector<unsigned char> padded;
    if (platform::blockSize(block) < SPI_SNIFF_BYTES) {
        padded.assign(SPI_SNIFF_BYTES, 0);
        std::memcpy(padded.data(), bytes, platform::blockSize(block));
        bytes = padded.data();
    }
    for (std::size_t index = 0; index < images_.size(); ++index) {
        const PluginRecord& plugin = images_[index];
        if (callInto(plugin, [&] {
                return plugin.isSupported(nullptr, reinterpret_cast<uintptr_t>(bytes));
            })) {
            selectedImage = static_cast<int>(index);
            return 1;
        }
    }
    return 0;
}

int PluginHost::decodeMemory(platform::MemoryHandle block, std::size_t size,
                             platform::MemoryHandle* info, platform::MemoryHandle* bits) {
    if (selectedImage < 0 || selectedImage >= static_cast<int>(images_.size()))
        return SPI_OTHER_ERROR;
    if (!platform::isValidBlock(block)) return SPI_MEMORY_ERROR;
    // The listing's size may disagree with what was extracted; never pass more
    // bytes than the block holds.
    size = std::min(size, platform::blockSize(block));
    *info = nullptr;
    *bits = nullptr;
    const PluginRecord& plugin = images_[static_cast<std::size_t>(selectedImage)];
    int result = callInto(plugin, [&] {
        return plugin.getPicture(reinterpret_cast<const char*>(platform::lockBlock(block)),
                                 static_cast<long>(size), SPI_INPUT_MEMORY, info, bits, nullptr,
                                 0);
    });
    return checkedPicture(result, info, bits);
}

std::vector<std::string> PluginHost::informationLines() const {
    std::vector<std::string> lines;
    for (const PluginRecord& plugin : archives_)
        lines.push_back(plugin.infoText);
    for (const PluginRecord& plugin : images_)
        lines.push_back(plugin.infoText);
    return lines;
}
