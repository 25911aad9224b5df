// The built-in BMP reader: the info header and palette go to one block, the
// pixel rows to another, in the plain form the picture buffer reads (see
// plain_dib.h). A plain BMP is copied as it stands; other forms are
// converted, and what cannot be converted soundly is refused.
#include "sources/page_list.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/read_only_file.h"
#include "sources/plain_dib.h"

namespace {

constexpr std::uint64_t kFileHeaderBytes = 14;

std::uint32_t little32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
}

// Reads a BMP of `total` bytes into a header block and a pixel block. The
// pixel offset must lie between the end of the file header and the end of
// the data, so that neither part has a negative or excessive size and
// nothing is read past the data.
int splitBmp(std::uint64_t total, const ByteReader& read, platform::MemoryHandle* header,
             platform::MemoryHandle* bits, std::string& errorText) {
    unsigned char fileHeader[kFileHeaderBytes];
    if (total < 2 || !read(0, fileHeader, 2) || fileHeader[0] != 'B' || fileHeader[1] != 'M') {
        errorText = kNotBmpText;
        return 0;
    }
    if (total < kFileHeaderBytes || !read(0, fileHeader, kFileHeaderBytes)) {
        errorText = kBrokenBmpText;
        return 0;
    }
    const std::uint64_t offset = little32(fileHeader + 10);
    if (offset < kFileHeaderBytes || offset > total) {
        errorText = kBrokenBmpText;
        return 0;
    }
    DibSource source;
    source.headerSize = offset - kFileHeaderBytes;
    source.readHeader = [&read](std::uint64_t at, void* out, std::size_t count) {
        return read(kFileHeaderBytes + at, out, count);
    };
    source.pixelSize = total - offset;
    source.readPixels = [&read, offset](std::uint64_t at, void* out, std::size_t count) {
        return read(offset + at, out, count);
    };
    if (!readPlainDib(source, header, bits)) {
        errorText = kBrokenBmpText;
        return 0;
    }
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
    return splitBmp(bytes ? total : 0, memoryReader(bytes, total), &loadedHeader, &loadedBits,
                    errorText);
}
