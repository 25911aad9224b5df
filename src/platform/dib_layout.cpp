#include "platform/dib_layout.h"

#include <cstring>
#include <limits>

#include "common/picture_limits.h"

namespace platform {
namespace {

std::int32_t readInt32(const unsigned char* p) {
    std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
    std::int32_t out;
    std::memcpy(&out, &v, sizeof out);
    return out;
}

int readUint16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

// The layout from the header alone, with the palette count the header
// announces; sizes are checked by the callers.
std::optional<DibLayout> readHeader(const unsigned char* header, std::size_t headerSize) {
    if (!header || headerSize < kDibHeaderSize) return std::nullopt;
    std::int32_t width = readInt32(header + 4);
    std::int32_t height = readInt32(header + 8);
    int bitCount = readUint16(header + 14);
    std::int32_t compression = readInt32(header + 16);
    std::uint32_t colorsUsed = static_cast<std::uint32_t>(readInt32(header + 32));
    if (!isDibDepth(bitCount) || compression != 0) return std::nullopt;
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min())
        return std::nullopt;

    DibLayout layout;
    layout.width = width;
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;
    layout.bitCount = bitCount;
    // The size is checked before it is multiplied out: a forged header's
    // rows times its row length need not fit 64 bits.
    std::int64_t stride = dibRowBytes(width, bitCount);
    if (stride > std::numeric_limits<int>::max() || layout.height > (std::int64_t(1) << 40) / stride)
        return std::nullopt;
    layout.stride = static_cast<int>(stride);
    layout.pixelBytes = static_cast<std::size_t>(stride * layout.height);

    std::uint32_t full = bitCount <= 8 ? (1u << bitCount) : 0;
    std::uint32_t count = colorsUsed != 0 ? colorsUsed : full;
    // No picture needs more entries than this; a larger count is a broken header.
    if (count > 0x10000) return std::nullopt;
    layout.paletteCount = static_cast<int>(count);
    layout.usablePalette = static_cast<int>(count < full ? count : full);
    return layout;
}

} // namespace

bool isDibDepth(int bitCount) {
    switch (bitCount) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

std::int64_t dibRowBytes(std::int64_t width, int bitCount) {
    return ((width * bitCount + 31) >> 3) & ~std::int64_t(3);
}

std::optional<DibLayout> readDibLayout(const unsigned char* header, std::size_t headerSize,
                                       std::size_t bitsSize) {
    std::optional<DibLayout> layout = readHeader(header, headerSize);
    if (!layout) return std::nullopt;
    if (headerSize < kDibHeaderSize + 4 * std::size_t(layout->usablePalette)) return std::nullopt;
    if (bitsSize < layout->pixelBytes) return std::nullopt;
    return layout;
}

std::optional<DibLayout> readPlainDibLayout(const unsigned char* header, std::size_t headerSize,
                                            std::size_t bitsSize) {
    std::optional<DibLayout> layout = readDibLayout(header, headerSize, bitsSize);
    if (!layout || readInt32(header) != std::int32_t{kDibHeaderSize} || layout->topDown ||
        layout->bitCount == 32 || layout->width > kMaxPictureSide ||
        layout->height > kMaxPictureSide ||
        std::uint64_t(layout->width) * std::uint64_t(layout->height) > kMaxPicturePixels ||
        layout->paletteCount > 256 ||
        headerSize < kDibHeaderSize + 4 * std::size_t(layout->paletteCount))
        return std::nullopt;
    return layout;
}

std::optional<DibLayout> readPackedDibLayout(const unsigned char* dib, std::size_t size) {
    std::optional<DibLayout> layout = readHeader(dib, size);
    if (!layout) return std::nullopt;
    std::size_t bitsOffset = kDibHeaderSize + 4 * std::size_t(layout->paletteCount);
    if (size < bitsOffset || size - bitsOffset < layout->pixelBytes) return std::nullopt;
    return layout;
}

} // namespace platform
