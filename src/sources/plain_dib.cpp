#include "sources/plain_dib.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#include "common/picture_limits.h"
#include "platform/dib_layout.h"

using platform::MemoryHandle;

namespace {

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kAlphaBitFields = 6,
};

constexpr std::size_t kHeaderBytes = platform::kDibHeaderSize;
constexpr int kMaxPaletteEntries = 256;
// Enough of a header region to hold the longest info header (V5, 124
// bytes), masks after a 40-byte one, and the longest palette.
constexpr std::size_t kHeadBytes = 124 + 16 + 4 * kMaxPaletteEntries;

std::uint32_t read32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24;
}

int read16(const unsigned char* p) {
    return p[0] | p[1] << 8;
}

void write32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// One colour channel of a bit-field pixel.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int width = 0;

    // The channel of pixel `v` in 8 bits: the top 8 bits of a wider field, a
    // narrower one shifted up with its low bits zero (as the picture buffer
    // widens 5-5-5 pixels). An absent channel reads 0.
    unsigned char of(std::uint32_t v) const {
        const std::uint32_t x = (v & mask) >> shift;
        return static_cast<unsigned char>(width >= 8 ? x >> (width - 8) : x << (8 - width));
    }
};

// The channel of a mask; nothing when its bits are not one run.
std::optional<Channel> channelOf(std::uint32_t mask) {
    Channel channel;
    channel.mask = mask;
    if (mask == 0) return channel;
    channel.shift = std::countr_zero(mask);
    const std::uint32_t run = mask >> channel.shift;
    if ((run & (run + 1)) != 0) return std::nullopt;
    channel.width = std::popcount(run);
    return channel;
}

// What a header says, once it is known to describe a picture this reader
// converts.
struct Format {
    std::int32_t width = 0;
    std::int32_t height = 0; // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kRgb;
    Channel blue, green, red; // 16 and 32 bits
    std::size_t paletteAt = 0;
    int paletteCount = 0; // entries kept, at most 8 bits
    int outBits = 0;
};

// The format of the header region `head` (the first `known` bytes of a
// region of `headerSize`); nothing for a header this reader refuses.
std::optional<Format> parseHeader(const unsigned char* head, std::size_t known,
                                  std::uint64_t headerSize) {
    if (known < kHeaderBytes) return std::nullopt;
    const std::uint32_t infoSize = read32(head);
    // BITMAPINFOHEADER and its V2, V3, V4 and V5 extensions.
    if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return std::nullopt;
    if (infoSize > known) return std::nullopt;
    Format f;
    f.width = static_cast<std::int32_t>(read32(head + 4));
    const auto height = static_cast<std::int32_t>(read32(head + 8));
    f.bitCount = read16(head + 14);
    f.compression = read32(head + 16);
    const std::uint32_t colorsUsed = read32(head + 32);
    // INT_MIN has no positive counterpart.
    if (f.width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    f.topDown = height < 0;
    f.height = f.topDown ? -height : height;
    if (f.width > platform::kMaxPictureSide || f.height > platform::kMaxPictureSide ||
        std::uint64_t(f.width) * std::uint64_t(f.height) > kMaxPicturePixels)
        return std::nullopt;
    if (!platform::isDibDepth(f.bitCount)) return std::nullopt;

    std::size_t maskBytes = 0;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F}; // red, green, blue of 5-5-5
    if (f.bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0xFF00;
        masks[2] = 0xFF;
    }
    switch (f.compression) {
    case kRgb:
        break;
    case kRle8:
    case kRle4:
        // Run-length rows start at the bottom; a top-down RLE picture does not exist.
        if (f.bitCount != (f.compression == kRle8 ? 8 : 4) || f.topDown) return std::nullopt;
        break;
    case kBitFields:
    case kAlphaBitFields:
        if (f.bitCount != 16 && f.bitCount != 32) return std::nullopt;
        // After a 40-byte header the masks follow it; longer headers hold them.
        if (infoSize == 40) maskBytes = f.compression == kBitFields ? 12 : 16;
        if (kHeaderBytes + 12 > infoSize + maskBytes || kHeaderBytes + 12 > known)
            return std::nullopt;
        for (int i = 0; i < 3; ++i)
            masks[i] = read32(head + kHeaderBytes + 4 * i);
        if (f.bitCount == 16 && (masks[0] | masks[1] | masks[2]) > 0xFFFF) return std::nullopt;
        break;
    default:
        return std::nullopt; // embedded JPEG or PNG, or unknown
    }
    const auto red = channelOf(masks[0]), green = channelOf(masks[1]), blue = channelOf(masks[2]);
    if (!red || !green || !blue) return std::nullopt;
    f.red = *red;
    f.green = *green;
    f.blue = *blue;

    f.paletteAt = infoSize + maskBytes;
    if (f.bitCount <= 8) {
        const std::uint32_t count = colorsUsed != 0 ? colorsUsed : 1u << f.bitCount;
        if (count > kMaxPaletteEntries || f.paletteAt + 4 * std::uint64_t(count) > headerSize ||
            f.paletteAt + 4 * std::size_t(count) > known)
            return std::nullopt;
        f.paletteCount = static_cast<int>(count);
        f.outBits = f.bitCount;
    } else if (f.bitCount == 16) {
        const bool fiveFiveFive = masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F;
        f.outBits = fiveFiveFive ? 16 : 24;
    } else {
        f.outBits = 24;
    }
    return f;
}

// The pixel bytes read forward a chunk at a time.
class PixelStream {
public:
    explicit PixelStream(const DibSource& source) : source_(source) {}

    bool next(unsigned char& byte) {
        if (at_ == chunk_.size()) {
            if (read_ >= source_.pixelSize) return false;
            chunk_.resize(static_cast<std::size_t>(
                std::min<std::uint64_t>(std::uint64_t{1} << 16, source_.pixelSize - read_)));
            if (!source_.readPixels(read_, chunk_.data(), chunk_.size())) return false;
            read_ += chunk_.size();
            at_ = 0;
        }
        byte = chunk_[at_++];
        return true;
    }

private:
    const DibSource& source_;
    std::vector<unsigned char> chunk_;
    std::size_t at_ = 0;
    std::uint64_t read_ = 0;
};

// RLE8 or RLE4 runs into zero-filled rows of 8 or 4 bits. Pixels the runs
// skip keep index 0. Data that ends before the end-of-picture mark or the
// last row fails: the picture is cut short.
bool decodeRunLengths(const Format& f, const DibSource& source, unsigned char* out,
                      std::int64_t stride) {
    PixelStream in(source);
    const bool four = f.compression == kRle4;
    int x = 0, y = 0;
    auto put = [&](int index) {
        if (x >= f.width) return;
        unsigned char* row = out + y * stride;
        if (four)
            row[x / 2] |= static_cast<unsigned char>((x & 1) ? index & 15 : index << 4);
        else
            row[x] = static_cast<unsigned char>(index);
        ++x;
    };
    while (y < f.height) {
        unsigned char count, value;
        if (!in.next(count) || !in.next(value)) return false;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? (i & 1 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            return true;
        } else if (value == 2) { // move right and up
            unsigned char dx, dy;
            if (!in.next(dx) || !in.next(dy)) return false;
            x = std::min(x + dx, static_cast<int>(f.width));
            y += dy;
        } else { // `value` pixels as they stand, padded to an even byte count
            const int bytes = four ? (value + 1) / 2 : value;
            for (int i = 0; i < bytes; ++i) {
                unsigned char b;
                if (!in.next(b)) return false;
                if (!four) {
                    put(b);
                    continue;
                }
                put(b >> 4);
                if (2 * i + 1 < value) put(b & 15);
            }
            unsigned char pad;
            if ((bytes & 1) && !in.next(pad)) return false;
        }
    }
    return true;
}

// Uncompressed rows into bottom-up rows of f.outBits bits.
bool convertRows(const Format& f, const DibSource& source, unsigned char* out,
                 std::int64_t stride) {
    const std::int64_t inStride = platform::dibRowBytes(f.width, f.bitCount);
    if (std::uint64_t(inStride) * std::uint64_t(f.height) > source.pixelSize) return false;
    const bool widen = f.outBits != f.bitCount;
    std::vector<unsigned char> row(widen ? static_cast<std::size_t>(inStride) : 0);
    const int bytesPerPixel = f.bitCount / 8;
    for (std::int64_t r = 0; r < f.height; ++r) {
        unsigned char* target = out + (f.topDown ? f.height - 1 - r : r) * stride;
        const auto at = static_cast<std::uint64_t>(r * inStride);
        // The same depth: the rows only move (stride == inStride).
        if (!widen) {
            if (!source.readPixels(at, target, static_cast<std::size_t>(inStride))) return false;
            continue;
        }
        if (!source.readPixels(at, row.data(), row.size())) return false;
        const unsigned char* in = row.data();
        for (std::int32_t x = 0; x < f.width; ++x, in += bytesPerPixel, target += 3) {
            const std::uint32_t v = bytesPerPixel == 2 ? std::uint32_t(read16(in)) : read32(in);
            target[0] = f.blue.of(v);
            target[1] = f.green.of(v);
            target[2] = f.red.of(v);
        }
        std::memset(target, 0, static_cast<std::size_t>(stride - 3 * std::int64_t{f.width}));
    }
    return true;
}

// A new 40-byte header with the palette of `f`; the resolutions are the
// source's.
void writeHeader(const Format& f, const unsigned char* head, unsigned char* out,
                 std::int64_t stride) {
    write32(out, kHeaderBytes);
    write32(out + 4, static_cast<std::uint32_t>(f.width));
    write32(out + 8, static_cast<std::uint32_t>(f.height));
    out[12] = 1;
    out[14] = static_cast<unsigned char>(f.outBits);
    write32(out + 20, static_cast<std::uint32_t>(stride * f.height));
    std::memcpy(out + 24, head + 24, 8);
    const int palette = f.outBits <= 8 ? f.paletteCount : 0;
    write32(out + 32, static_cast<std::uint32_t>(palette));
    for (int i = 0; i < palette; ++i) {
        std::memcpy(out + kHeaderBytes + 4 * i, head + f.paletteAt + 4 * i, 3);
        out[kHeaderBytes + 4 * i + 3] = 0;
    }
}

} // namespace

ByteReader memoryReader(const unsigned char* bytes, std::uint64_t size) {
    return [bytes, size](std::uint64_t offset, void* out, std::size_t count) {
        if (offset > size || count > size - offset) return false;
        if (count) std::memcpy(out, bytes + offset, count);
        return true;
    };
}

int readPlainDib(const DibSource& source, MemoryHandle* header, MemoryHandle* bits) {
    std::vector<unsigned char> head(
        static_cast<std::size_t>(std::min<std::uint64_t>(source.headerSize, kHeadBytes)));
    if (head.empty() || !source.readHeader(0, head.data(), head.size())) return 0;

    MemoryHandle headerBlock = nullptr, bitsBlock = nullptr;
    bool filled = false;
    if (auto plain = platform::readPlainDibLayout(head.data(), head.size(), source.pixelSize)) {
        // Already plain: header, palette and rows are copied as they stand.
        const std::size_t headerSize = kHeaderBytes + 4 * std::size_t(plain->paletteCount);
        headerBlock = platform::allocateBlock(headerSize);
        bitsBlock = platform::allocateUnfilledBlock(plain->pixelBytes);
        if (headerBlock && bitsBlock) {
            std::memcpy(platform::lockBlock(headerBlock), head.data(), headerSize);
            filled = source.readPixels(0, platform::lockBlock(bitsBlock), plain->pixelBytes);
        }
    } else if (auto f = parseHeader(head.data(), head.size(), source.headerSize)) {
        const std::int64_t stride = platform::dibRowBytes(f->width, f->outBits);
        const auto pixelBytes = static_cast<std::size_t>(stride * f->height);
        const bool runs = f->compression == kRle8 || f->compression == kRle4;
        headerBlock = platform::allocateBlock(kHeaderBytes +
                                              4 * std::size_t(f->outBits <= 8 ? f->paletteCount : 0));
        // Runs may skip pixels, which must then be index 0.
        bitsBlock = runs ? platform::allocateBlock(pixelBytes)
                         : platform::allocateUnfilledBlock(pixelBytes);
        if (headerBlock && bitsBlock) {
            writeHeader(*f, head.data(), platform::lockBlock(headerBlock), stride);
            unsigned char* rows = platform::lockBlock(bitsBlock);
            filled = runs ? decodeRunLengths(*f, source, rows, stride)
                          : convertRows(*f, source, rows, stride);
        }
    }
    if (!filled) {
        platform::freeBlock(headerBlock);
        platform::freeBlock(bitsBlock);
        return 0;
    }
    *header = headerBlock;
    *bits = bitsBlock;
    return 1;
}

int makePlain(MemoryHandle* header, MemoryHandle* bits) {
    const unsigned char* h = platform::lockBlock(*header);
    const unsigned char* b = platform::lockBlock(*bits);
    const std::size_t headerSize = platform::blockSize(*header);
    const std::size_t bitsSize = platform::blockSize(*bits);
    if (h && b && platform::readPlainDibLayout(h, headerSize, bitsSize)) return 1;
    MemoryHandle plainHeader = nullptr, plainBits = nullptr;
    const int made = h && b &&
                     readPlainDib({headerSize, memoryReader(h, headerSize), bitsSize,
                                   memoryReader(b, bitsSize)},
                                  &plainHeader, &plainBits);
    platform::freeBlock(*header);
    platform::freeBlock(*bits);
    *header = plainHeader;
    *bits = plainBits;
    return made;
}
