// archive_reader.cpp - one libarchive reader per call, read forward only, so
// extraction decompresses the one member and never holds the whole archive.
#include "archive/archive_reader.h"
#include "archive/member_names.h"
#include "archive/rar_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <archive.h>
#include <archive_entry.h>

#include "common/plugin_io.h"

namespace {

struct Reader {
    archive* a = nullptr;
    int fd = -1;
    ~Reader() {
        if (a) archive_read_free(a);
        if (fd >= 0) ::close(fd);
    }
};

// Opens the source; SPI_ALL_RIGHT or the code to return.
int openReader(const ArchiveSource& source, Reader& r) {
    r.a = archive_read_new();
    if (!r.a) return SPI_NO_MEMORY;
    archive_read_support_filter_all(r.a);
    archive_read_support_format_zip(r.a);
    archive_read_support_format_rar(r.a);
    archive_read_support_format_rar5(r.a);
    archive_read_support_format_7zip(r.a);
    archive_read_support_format_tar(r.a);
    archive_read_support_format_lha(r.a);
    int status;
    if (source.fileName) {
        uint64_t size = 0;
        r.fd = spi::openRegularFile(source.fileName, size);
        if (r.fd < 0) return SPI_FILE_READ_ERROR;
        if (source.offset < 0 || ::lseek(r.fd, source.offset, SEEK_SET) != source.offset)
            return SPI_FILE_READ_ERROR;
        status = archive_read_open_fd(r.a, r.fd, 65536);
    } else {
        if (!source.data) return SPI_MEMORY_ERROR;
        status = archive_read_open_memory(r.a, source.data, source.size);
    }
    return status == ARCHIVE_OK ? SPI_ALL_RIGHT : SPI_NOT_SUPPORT;
}

// The first block for a member whose size the archive does not say.
constexpr size_t kFirstUnsizedBlock = size_t(1) << 20;

// Gives `block` room for `size` bytes, keeping what it holds; false (and the
// block freed) when memory is short.
bool resize(std::unique_ptr<SpiBlock, void (*)(SpiHandle)>& block, size_t size) {
    void* moved = std::realloc(block.get(), SPI_BLOCK_HEADER_BYTES + (size ? size : 1));
    if (!moved) {
        block.reset();
        return false;
    }
    block.release();
    block.reset(static_cast<SpiHandle>(moved));
    block->size = size;
    return true;
}

// The first word of libarchive's format name ("ZIP", "RAR", "7-Zip", ...).
void copyMethod(unsigned char* method, archive* a) {
    const char* name = archive_format_name(a);
    if (!name || !*name) name = "archive";
    size_t n = 0;
    while (n < 7 && name[n] && name[n] != ' ') ++n;
    std::memcpy(method, name, n);
}

void fillRecord(SpiFileInfo& record, archive* a, archive_entry* entry, long index, const std::string& path) {
    copyMethod(record.method, a);
    record.position = uint32_t(index);
    int64_t size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
    record.filesize = uint32_t(std::clamp<int64_t>(size, 0, UINT32_MAX));
    record.timestamp = int32_t(std::clamp<int64_t>(archive_entry_mtime(entry), INT32_MIN, INT32_MAX));
    const char* name = path.c_str();
    const char* slash = std::strrchr(name, '/');
    size_t folderLength = slash ? size_t(slash - name) + 1 : 0;
    // A folder part that does not fit keeps its closing '/' so it still reads as a folder.
    if (folderLength >= sizeof record.path) {
        copyNameField(record.path, sizeof record.path - 1, name, folderLength);
        std::strcat(record.path, "/");
    } else {
        copyNameField(record.path, sizeof record.path, name, folderLength);
    }
    copyFileName(record.filename, sizeof record.filename, path.substr(folderLength));
}

} // namespace

int isArchive(const unsigned char* head, size_t size) {
    auto at = [&](size_t offset, const char* sig, size_t n) {
        return size >= offset + n && std::memcmp(head + offset, sig, n) == 0;
    };
    if (at(0, "PK\3\4", 4) || at(0, "PK\5\6", 4)) return 1;
    if (at(0, "Rar!\x1a\x07\x00", 7) || at(0, "Rar!\x1a\x07\x01\x00", 8)) return 1;
    if (at(0, "7z\xbc\xaf\x27\x1c", 6)) return 1;
    if (at(257, "ustar", 5)) return 1;
    // LZH: "-lh?-" or "-lz?-" after the header's size and checksum bytes.
    if (size >= 7 && head[2] == '-' && head[3] == 'l' && (head[4] == 'h' || head[4] == 'z') &&
        head[6] == '-')
        return 1;
    return 0;
}

void copyNameField(char* field, size_t capacity, const char* text, size_t length) {
    if (capacity == 0) return;
    size_t n = std::min(length, capacity - 1);
    // Step back over continuation bytes so no character is cut in half.
    if (n < length)
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(field, text, n);
    field[n] = 0;
}

int listArchive(const ArchiveSource& source, SpiHandle* listing) {
    if (!listing) return SPI_MEMORY_ERROR;
    Reader r;
    int result = openReader(source, r);
    if (result != SPI_ALL_RIGHT) return result;
    std::vector<SpiFileInfo> records;
    archive_entry* entry = nullptr;
    for (long index = 0; records.size() < kMaxListedMembers; ++index) {
        int status = archive_read_next_header(r.a, &entry);
        if (status == ARCHIVE_EOF) break;
        if (status < ARCHIVE_WARN) return SPI_OUT_OF_ORDER;
        if (archive_entry_filetype(entry) == AE_IFDIR) continue;
        std::string path = memberName(entry);
        if (!path.empty() && path.back() == '/') continue;
        SpiFileInfo record{};
        fillRecord(record, r.a, entry, index, path);
        records.push_back(record);
    }
    SpiHandle block = spiAlloc((records.size() + 1) * sizeof(SpiFileInfo));
    if (!block) return SPI_NO_MEMORY;
    if (!records.empty()) std::memcpy(spiLock(block), records.data(), records.size() * sizeof(SpiFileInfo));
    *listing = block; // the closing record is the block's zero fill
    return SPI_ALL_RIGHT;
}

size_t memberSizeLimit() {
    // A member is a picture file: none needs more than the largest 24-bit
    // picture the pixel cap allows, with room for a BMP's headers and row
    // padding around it.
    size_t limit = size_t(3 * kMaxPicturePixels) + (size_t(4) << 20);
    long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0 && size_t(pages) <= SIZE_MAX / size_t(pageSize))
        limit = std::min(limit, size_t(pages) * size_t(pageSize));
    return limit;
}

int extractMember(const ArchiveSource& source, long position, size_t limit, SpiHandle* member) {
    if (!member) return SPI_MEMORY_ERROR;
    if (position < 0) return SPI_OUT_OF_ORDER;
    Reader r;
    int result = openReader(source, r);
    if (result != SPI_ALL_RIGHT) return result;
    archive_entry* entry = nullptr;
    for (long index = 0;; ++index) {
        int status = archive_read_next_header(r.a, &entry);
        if (status == ARCHIVE_EOF) return SPI_OUT_OF_ORDER; // no such member
        if (status < ARCHIVE_WARN) return SPI_OUT_OF_ORDER;
        if (index == position) break;
    }
    if (archive_entry_filetype(entry) == AE_IFDIR) return SPI_OUT_OF_ORDER;
    bool sized = archive_entry_size_is_set(entry);
    int64_t declared = sized ? archive_entry_size(entry) : 0;
    if (declared < 0) return SPI_OUT_OF_ORDER;
    if (uint64_t(declared) > limit) return SPI_NO_MEMORY;

    // Unpacked straight into the block handed out: one of the declared size
    // (for a sparse member, holes included), or for a member of unknown size
    // one that grows up to the limit. The block is zero-filled, so its pages
    // cost nothing until data arrives.
    size_t capacity = sized ? size_t(declared) : std::min(limit, kFirstUnsizedBlock);
    std::unique_ptr<SpiBlock, void (*)(SpiHandle)> block(spiAlloc(capacity), spiFree);
    if (!block) return SPI_NO_MEMORY;
    size_t filled = 0;
    for (;;) {
        if (filled == capacity) {
            if (sized) break;
            if (capacity == limit) return SPI_NO_MEMORY;
            capacity = std::min(limit, 2 * capacity);
            if (!resize(block, capacity)) return SPI_NO_MEMORY;
        }
        auto* data = static_cast<unsigned char*>(spiLock(block.get()));
        la_ssize_t n = archive_read_data(r.a, data + filled, capacity - filled);
        if (n == 0) break;
        if (n < 0) return SPI_OUT_OF_ORDER;
        filled += size_t(n);
    }
    if (sized) {
        // Less than declared, or more: the headers lie about the member.
        unsigned char more;
        if (filled != capacity || archive_read_data(r.a, &more, 1) != 0) return SPI_OUT_OF_ORDER;
    } else if (!resize(block, filled)) {
        return SPI_NO_MEMORY;
    }
    if (!rarDataIntact(source, r.a, static_cast<unsigned char*>(spiLock(block.get())), filled))
        return SPI_OUT_OF_ORDER;
    *member = block.release();
    return SPI_ALL_RIGHT;
}
