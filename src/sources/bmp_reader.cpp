// The built-in BMP reader: it copies, it does not decode. The info header and
// palette go to one block, the pixel bytes to another, exactly as stored; the
// picture buffer interprets them.
#include "sources/page_list.h"

#include <cstring>
#include <functional>

#include "platform/file_system.h"
#include "platform/read_only_file.h"

namespace {

constexpr std::uint64_t kFileHeaderBytes = 14;
// Larger files are refused rather than copied into memory whole.
constexpr std::uint64_t kMaxBmpBytes = std::uint64_t{1} << 30;

using ByteReader = std::function<bool(std::uint64_t offset, void* out, std::size_t count)>;

std::uint32_t little32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
}

// Splits a BMP of `total` bytes into a header block and a pixel block. The
// pixel offset must lie between the end of the file header and the end of the
// data, so that neither block has a negative or excessive size and nothing is
// read past the data.
int splitBmp(std::uint64_t total, const ByteReader& read, platform::MemoryHandle* header,
             platform::MemoryHandle* bits, std::string& errorText) {
    unsigned char fileHeader[kFileHeaderBytes];
    if (total < 2 || !read(0, fileHeader, 2) || fileHeader[0] != 'B' || fileHeader[1] != 'M') {
        errorText = kNotBmpText;
        return 0;
    }
    if (total < kFileHeaderBytes || total > kMaxBmpBytes ||
        !read(0, fileHeader, kFileHeaderBytes)) {
        errorText = kBrokenBmpText;
        return 0;
    }
    const std::uint64_t offset = little32(fileHeader + 10);
    if (offset < kFileHeaderBytes || offset > total) {
        errorText = kBrokenBmpText;
        return 0;
    }
    platform::MemoryHandle headerBlock = platform::allocateBlock(offset - kFileHeaderBytes);
    platform::MemoryHandle bitsBlock = platform::allocateBlock(total - offset);
    if (!headerBlock || !bitsBlock ||
        !read(kFileHeaderBytes, platform::lockBlock(headerBlock), offset - kFileHeaderBytes) ||
        !read(offset, platform::lockBlock(bitsBlock), total - offset)) {
        platform::freeBlock(headerBlock);
        platform::freeBlock(bitsBlock);
        errorText = kBrokenBmpText;
        return 0;
    }
    *header = headerBlock;
    *bits = bitsBlock;
    return 1;
}

} // namespace

int PageList::readBmpFile(const std::string& name) {
    if (platform::pathKind(name) != platform::PathKind::File) return 0;
    platform::ReadOnlyFile file(name);
    if (!file.isOpen()) {
        errorText = kFileHandleText;
        return 0;
    }
    ByteReader read = [&file](std::uint64_t offset, void* out, std::size_t count) {
        return count == 0 || file.readAt(offset, out, count);
    };
    return splitBmp(file.size(), read, &loadedHeader, &loadedBits, errorText);
}

int PageList::readBmpMemory(platform::MemoryHandle block, std::size_t size) {
    // The listing's size may claim more than was extracted; the block decides.
    const std::size_t total = std::min(size, platform::blockSize(block));
    const unsigned char* bytes = platform::lockBlock(block);
    ByteReader read = [bytes, total](std::uint64_t offset, void* out, std::size_t count) {
        if (offset > total || count > total - offset) return false;
        if (count) std::memcpy(out, bytes + offset, count);
        return true;
    };
    return splitBmp(bytes ? total : 0, read, &loadedHeader, &loadedBits, errorText);
}
