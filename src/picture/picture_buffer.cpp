#include "picture/picture_buffer.h"

#include <algorithm>
#include <cstring>

#include "picture/dib_header.h"
#include "picture/palette_rows.h"
#include "picture/row_bands.h"
#include "platform/dib_layout.h"

using platform::MemoryHandle;

namespace {

bool isPaletteDepth(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8;
}

} // namespace

std::int64_t rowBytes(std::int64_t width, int bits) {
    if (width < 0 || bits <= 0 || width > platform::kMaxPictureSide || bits > 64) return 0;
    return ((width * bits + 31) >> 3) & ~std::int64_t{3};
}

int paletteCount(int bits, int clrUsed) {
    if (clrUsed != 0) return clrUsed;
    return isPaletteDepth(bits) ? 1 << bits : 0;
}

std::int64_t packedDibSize(int width, int height, int bits, int clrUsed) {
    return std::int64_t{height} * rowBytes(width, bits) + kInfoHeaderSize +
           4 * std::int64_t{paletteCount(bits, clrUsed)};
}

PictureBuffer::PictureBuffer() {
    for (int t = 0; t <= 256; ++t)
        for (int u = 0; u <= 256; ++u)
            productTable[t][u] = static_cast<std::uint16_t>(t * u / 256);
}

PictureBuffer::~PictureBuffer() {
    freeBlocks();
}

void PictureBuffer::attach(MemoryHandle header, MemoryHandle bits) {
    if (owned) freeBlocks();
    headerBlock = header;
    bitsBlock = bits;
    readHeader();
    owned = 1;
}

void PictureBuffer::readHeader() {
    width = height = bitCount = colorsUsed = stride = 0;
    const unsigned char* p = platform::lockBlock(headerBlock);
    if (p && platform::blockSize(headerBlock) >= kInfoHeaderSize) {
        width = readI32(p + kOffWidth);
        height = readI32(p + kOffHeight);
        bitCount = readU16(p + kOffBitCount);
        colorsUsed = readI32(p + kOffClrUsed);
    }
    stride = static_cast<int>(rowBytes(width, bitCount));
}

void PictureBuffer::release() {
    owned = 0;
}

void PictureBuffer::freeBlocks() {
    if (owned) {
        platform::freeBlock(headerBlock);
        platform::freeBlock(bitsBlock);
    }
    headerBlock = bitsBlock = nullptr;
    owned = 0;
}

bool PictureBuffer::isHandled() const {
    return owned && platform::lockBlock(bitsBlock) &&
           platform::readPlainDibLayout(platform::lockBlock(headerBlock),
                                        platform::blockSize(headerBlock),
                                        platform::blockSize(bitsBlock));
}

namespace {

// A pair whose header starts with the first `headerSize` bytes of `header`,
// resized to width x height, and whose bits block has zero row padding and
// unwritten pixel bytes; both null when memory is short.
BlockPair newPair(const unsigned char* header, std::size_t headerSize, int width, int height,
                  int bits) {
    const std::int64_t stride = rowBytes(width, bits);
    const std::int64_t bitsSize = std::int64_t{height} * stride;
    BlockPair out{platform::allocateBlock(headerSize),
                  platform::allocateUnfilledBlock(
                      static_cast<std::size_t>(std::max<std::int64_t>(bitsSize, 1)))};
    if (!out.header || !out.bits) {
        platform::freeBlock(out.header);
        platform::freeBlock(out.bits);
        return {};
    }
    // The bytes past each row's pixels are zeroed; most rows have none.
    const std::int64_t used = std::int64_t{width} * bits / 8;
    unsigned char* rows = platform::lockBlock(out.bits);
    if (stride > used)
        for (std::int64_t y = 0; y < height; ++y)
            std::memset(rows + y * stride + used, 0, static_cast<std::size_t>(stride - used));
    unsigned char* h = platform::lockBlock(out.header);
    std::memcpy(h, header, headerSize);
    writeI32(h + kOffWidth, width);
    writeI32(h + kOffHeight, height);
    return out;
}

} // namespace

BlockPair PictureBuffer::allocateLike(int newWidth, int newHeight) const {
    if (!isHandled()) return {};
    const std::size_t headerSize = kInfoHeaderSize + 4 * paletteCount(bitCount, colorsUsed);
    return newPair(platform::lockBlock(headerBlock), headerSize, newWidth, newHeight, bitCount);
}

BlockPair PictureBuffer::allocateConverted(int newWidth, int newHeight) const {
    if (!isHandled()) return {};
    BlockPair out =
        newPair(platform::lockBlock(headerBlock), kInfoHeaderSize, newWidth, newHeight, 24);
    if (out.header) {
        unsigned char* h = platform::lockBlock(out.header);
        writeU16(h + kOffBitCount, 24);
        writeI32(h + kOffClrUsed, 0);
    }
    return out;
}

void PictureBuffer::replaceBlocks(BlockPair blocks) {
    if (!blocks.header || !blocks.bits) return;
    freeBlocks();
    attach(blocks.header, blocks.bits);
}

namespace {

// Rows [first, last) of a 16-bit picture in 24-bit form.
void convert16Rows(const unsigned char* src, std::int64_t srcStride, unsigned char* dst,
                   std::int64_t dstStride, int width, int first, int last) {
    for (int y = first; y < last; ++y) {
        const unsigned char* s = src + y * srcStride;
        unsigned char* d = dst + y * dstStride;
        for (int x = 0; x < width; ++x, d += 3) {
            const int v = s[2 * x] | s[2 * x + 1] << 8;
            d[0] = static_cast<unsigned char>((v << 3) & 255);
            d[1] = static_cast<unsigned char>((v >> 2) & 248);
            d[2] = static_cast<unsigned char>((v >> 7) & 248);
        }
    }
}

// Pixel x of row s of a palette picture as its colour, blue | green << 8 |
// red << 16.
inline std::uint32_t colourAt(const unsigned char* s, int x, int bits,
                              const std::uint32_t (&packed)[256]) {
    return packed[bits == 8 ? s[x] : pixelIndex(s, x, bits)];
}

// Rows [first, last) of a palette picture in 24-bit form. Where the
// processor has the byte permutes, 8-bit rows go 64 pixels a step through
// `wide`; the rest go a pixel at a time, four bytes stored per pixel with the
// colour in the low three. The fourth is overwritten by the next pixel, and
// the last pixel of a row gets only its three.
template <int Bits>
void convertPaletteRows(const unsigned char* src, std::int64_t srcStride, unsigned char* dst,
                        std::int64_t dstStride, int width, const std::uint32_t (&packed)[256],
                        const PaletteChannels* wide, int first, int last) {
    constexpr int bits = Bits;
    for (int y = first; y < last; ++y) {
        const unsigned char* s = src + y * srcStride;
        unsigned char* d = dst + y * dstStride;
        int x = 0;
        if (bits == 8 && wide) {
            x = paletteRowsWide(s, d, width & ~63, *wide);
            d += 3 * x;
        }
        for (; x < width - 1; ++x, d += 3) {
            const std::uint32_t colour = colourAt(s, x, bits, packed);
            std::memcpy(d, &colour, 4);
        }
        if (x == width - 1) {
            const std::uint32_t lastColour = colourAt(s, x, bits, packed);
            d[0] = static_cast<unsigned char>(lastColour);
            d[1] = static_cast<unsigned char>(lastColour >> 8);
            d[2] = static_cast<unsigned char>(lastColour >> 16);
        }
    }
}

} // namespace

void PictureBuffer::convertTo24() {
    if (bitCount == 24 || !isHandled()) return;
    BlockPair out = allocateConverted(width, height);
    if (!out.header) return; // memory short: the picture stays as it is
    const unsigned char* src = platform::lockBlock(bitsBlock);
    unsigned char* dst = platform::lockBlock(out.bits);
    const std::int64_t srcStride = stride, dstStride = rowBytes(width, 24);
    const int w = width, bits = bitCount;
    std::uint32_t packed[256];
    PaletteChannels channels{};
    if (bits != 16) {
        unsigned char colours[256][3];
        fillPalette(*this, colours);
        channels.grey = true;
        for (int i = 0; i < 256; ++i) {
            packed[i] = colours[i][0] | colours[i][1] << 8 | colours[i][2] << 16;
            for (int c = 0; c < 3; ++c) {
                channels.channel[c][i] = colours[i][c];
                channels.grey = channels.grey && colours[i][c] == i;
            }
        }
    }
    const PaletteChannels* wide = bits == 8 && hasBytePermutes() ? &channels : nullptr;
    forEachRowBand(height, dstStride * height, [&](int first, int last) {
        switch (bits) {
        case 16:
            convert16Rows(src, srcStride, dst, dstStride, w, first, last);
            break;
        case 8:
            convertPaletteRows<8>(src, srcStride, dst, dstStride, w, packed, wide, first, last);
            break;
        case 4:
            convertPaletteRows<4>(src, srcStride, dst, dstStride, w, packed, wide, first, last);
            break;
        case 2:
            convertPaletteRows<2>(src, srcStride, dst, dstStride, w, packed, wide, first, last);
            break;
        default:
            convertPaletteRows<1>(src, srcStride, dst, dstStride, w, packed, wide, first, last);
            break;
        }
    });
    replaceBlocks(out);
    colorsUsed = 0;
}

void fillPalette(const PictureBuffer& picture, unsigned char (&colours)[256][3]) {
    std::memset(colours, 0, sizeof colours);
    const unsigned char* p = platform::lockBlock(picture.headerBlock);
    const std::size_t size = platform::blockSize(picture.headerBlock);
    if (!p || size < kInfoHeaderSize) return;
    const std::size_t available = (size - kInfoHeaderSize) / 4;
    const std::size_t count = std::min<std::size_t>(
        {available, 256,
         static_cast<std::size_t>(paletteCount(picture.bitCount, picture.colorsUsed))});
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(colours[i], p + kInfoHeaderSize + 4 * i, 3);
}
