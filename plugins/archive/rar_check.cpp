// rar_check.cpp - walking RAR 4 blocks and RAR 5 headers from libarchive's
// header position to the member's file header.
#include "archive/rar_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include <archive.h>
#include <zlib.h>

namespace {

// Bounds the walk: libarchive starts a member's header at most a few blocks
// (main, comment, service) before its file header.
constexpr int kMostBlocks = 64;
// The largest RAR 5 header read whole; real ones are far smaller.
constexpr std::uint64_t kMostHeader = 1 << 20;

// Reads bytes of the archive at offsets from its start.
class ArchiveBytes {
public:
    explicit ArchiveBytes(const ArchiveSource& source) : source_(source) {
        if (source.fileName) fd_ = ::open(source.fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
    ~ArchiveBytes() {
        if (fd_ >= 0) ::close(fd_);
    }
    ArchiveBytes(const ArchiveBytes&) = delete;
    ArchiveBytes& operator=(const ArchiveBytes&) = delete;

    bool read(std::uint64_t at, void* out, std::size_t count) const {
        if (!source_.fileName) {
            if (!source_.data || at > source_.size || source_.size - at < count) return false;
            std::memcpy(out, static_cast<const unsigned char*>(source_.data) + at, count);
            return true;
        }
        if (fd_ < 0 || source_.offset < 0 || at > std::uint64_t(INT64_MAX) - std::uint64_t(source_.offset))
            return false;
        return ::pread(fd_, out, count, off_t(at + std::uint64_t(source_.offset))) == ssize_t(count);
    }

private:
    const ArchiveSource& source_;
    int fd_ = -1;
};

std::uint32_t le(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}

// RAR 4: blocks of CRC-16, type, flags and size, with a further data size
// when flag 0x8000 is set; the file block (0x74) holds the data's CRC-32 at
// offset 16. A member split over volumes (flags 1, 2) is not checked here.
std::optional<std::uint32_t> rar4DataCrc(const ArchiveBytes& bytes, std::uint64_t at) {
    for (int block = 0; block < kMostBlocks; ++block) {
        unsigned char head[11];
        if (!bytes.read(at, head, 7)) return std::nullopt;
        unsigned type = head[2], flags = le(head + 3, 2), size = le(head + 5, 2);
        if (size < 7) return std::nullopt;
        if (type == 0x74) {
            unsigned char crc[4];
            if (size < 32 || (flags & 3) || !bytes.read(at + 16, crc, 4)) return std::nullopt;
            return le(crc, 4);
        }
        std::uint64_t next = at + size;
        if (flags & 0x8000) {
            if (!bytes.read(at + 7, head + 7, 4)) return std::nullopt;
            next += le(head + 7, 4);
            if (type == 0x7A && (flags & 0x100)) { // a service block's high size word
                unsigned char high[4];
                if (!bytes.read(at + 32, high, 4)) return std::nullopt;
                next += std::uint64_t(le(high, 4)) << 32;
            }
        }
        at = next;
    }
    return std::nullopt;
}

// RAR 5 numbers: seven bits a byte, lowest first, the top bit set on all but the last.
bool readNumber(const unsigned char*& p, const unsigned char* end, std::uint64_t& value) {
    value = 0;
    for (int shift = 0; p < end && shift < 64; shift += 7) {
        unsigned char byte = *p++;
        value |= std::uint64_t(byte & 0x7F) << shift;
        if (!(byte & 0x80)) return true;
    }
    return false;
}

// RAR 5: headers of CRC-32, size and that many bytes (type, flags, extra and
// data sizes, then the type's fields), data after them when flag 2 is set.
// The file header (type 2) holds the data's CRC-32 when its flag 4 is set.
std::optional<std::uint32_t> rar5DataCrc(const ArchiveBytes& bytes, std::uint64_t at) {
    for (int block = 0; block < kMostBlocks; ++block) {
        unsigned char sizeBytes[14];
        std::size_t got = 0;
        while (got < sizeof sizeBytes && bytes.read(at + got, sizeBytes + got, 1)) ++got;
        const unsigned char* p = sizeBytes + 4;
        std::uint64_t size = 0;
        if (got < 5 || !readNumber(p, sizeBytes + got, size) || size == 0 || size > kMostHeader) return std::nullopt;
        std::uint64_t headerAt = at + std::uint64_t(p - sizeBytes);
        std::string header(std::size_t(size), '\0');
        if (!bytes.read(headerAt, header.data(), header.size())) return std::nullopt;
        p = reinterpret_cast<const unsigned char*>(header.data());
        const unsigned char* end = p + header.size();
        std::uint64_t type = 0, flags = 0, extra = 0, data = 0;
        if (!readNumber(p, end, type) || !readNumber(p, end, flags)) return std::nullopt;
        if ((flags & 1) && !readNumber(p, end, extra)) return std::nullopt;
        if ((flags & 2) && !readNumber(p, end, data)) return std::nullopt;
        if (type == 2) {
            std::uint64_t fileFlags = 0, unpacked = 0, attributes = 0;
            if ((flags & 0x18) || !readNumber(p, end, fileFlags) || !readNumber(p, end, unpacked) ||
                !readNumber(p, end, attributes) || !(fileFlags & 4))
                return std::nullopt;
            if (fileFlags & 2) p += 4; // modification time
            if (end - p < 4) return std::nullopt;
            return le(p, 4);
        }
        at = headerAt + size + data;
    }
    return std::nullopt;
}

} // namespace

bool rarDataIntact(const ArchiveSource& source, archive* a, const unsigned char* data, std::size_t size) {
    int format = archive_format(a) & ARCHIVE_FORMAT_BASE_MASK;
    if (format != ARCHIVE_FORMAT_RAR && format != ARCHIVE_FORMAT_RAR_V5) return true;
    la_int64_t position = archive_read_header_position(a);
    if (position < 0) return true;
    ArchiveBytes bytes(source);
    std::uint64_t at = std::uint64_t(position);
    // At the start the walk begins at the signature; a self-extracting
    // archive's program before it is no block.
    static const char kRar4[] = "Rar!\x1a\x07\x00", kRar5[] = "Rar!\x1a\x07\x01\x00";
    unsigned char signature[8] = {};
    if (at == 0 && !(bytes.read(0, signature, 8) && std::memcmp(signature, format == ARCHIVE_FORMAT_RAR ? kRar4 : kRar5,
                                                                format == ARCHIVE_FORMAT_RAR ? 7 : 8) == 0))
        return true;
    if (at == 0 && format == ARCHIVE_FORMAT_RAR_V5) at = 8;
    std::optional<std::uint32_t> recorded = format == ARCHIVE_FORMAT_RAR ? rar4DataCrc(bytes, at) : rar5DataCrc(bytes, at);
    if (!recorded) return true;
    uLong crc = crc32(0, nullptr, 0);
    for (std::size_t done = 0; done < size;) { // zlib takes at most 4 GiB a call
        uInt part = uInt(std::min<std::size_t>(size - done, 1u << 30));
        crc = crc32(crc, data + done, part);
        done += part;
    }
    return crc == *recorded;
}
