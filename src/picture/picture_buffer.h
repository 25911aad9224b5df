// picture_buffer.h - one decoded picture as a packed DIB in two owned blocks.
//
// The header block holds a 40-byte BITMAPINFOHEADER and the palette; the bits
// block holds bottom-up rows padded to 4 bytes. A buffer owns its blocks while
// `owned` is 1. Pictures move between buffers by attach on the receiver and
// release on the giver, so the blocks are never copied and never owned twice.
//
// The operations handle uncompressed bottom-up pictures of 1, 2, 4, 8, 16 and
// 24 bits with a 40-byte header whose blocks are as long as the header says.
// Anything else (another depth, top-down rows, compressed data, a longer
// header, short blocks, more pixels than the loader's cap) is held and moved
// like any picture but left alone by every operation: see isHandled. The
// loader hands out nothing else.
#pragma once

#include <cstdint>

#include "platform/memory_block.h"

struct BlockPair {
    platform::MemoryHandle header = nullptr;
    platform::MemoryHandle bits = nullptr;
};

// Bytes per row of `width` pixels of `bits` bits, rounded up to 4; 0 for
// nonsensical sizes.
std::int64_t rowBytes(std::int64_t width, int bits);

// Palette entries that follow the header: biClrUsed when it is non-zero,
// otherwise 2, 4, 16 or 256 for 1, 2, 4, 8 bits and none above.
int paletteCount(int bits, int clrUsed);

// Size of the picture as one packed DIB with the full palette of its depth.
std::int64_t packedDibSize(int width, int height, int bits, int clrUsed = 0);

// Palette index of pixel x of a row of 1-, 2- or 4-bit pixels, most
// significant bits first.
inline int pixelIndex(const unsigned char* row, int x, int bits) {
    const int bit = x * bits;
    return (row[bit >> 3] >> (8 - (bit & 7) - bits)) & ((1 << bits) - 1);
}

class PictureBuffer;

// The picture's palette as 256 blue-green-red entries; entries the header
// block does not hold are black, so any index may be looked up.
void fillPalette(const PictureBuffer& picture, unsigned char (&colours)[256][3]);

class PictureBuffer {
public:
    PictureBuffer();
    ~PictureBuffer(); // frees the blocks if still owned
    PictureBuffer(const PictureBuffer&) = delete;
    PictureBuffer& operator=(const PictureBuffer&) = delete;

    // Takes the two blocks over (freeing the current picture first) and reads
    // the size, depth and palette size from the header.
    void attach(platform::MemoryHandle headerBlock, platform::MemoryHandle bitsBlock);
    // Forgets the blocks without freeing them: another buffer owns them now.
    void release();
    // Frees both blocks if owned.
    void freeBlocks();

    // New blocks for a picture of the same depth and palette, with the new
    // size in a copy of the header. The row padding, every byte after those
    // the pixels fill whole, is zero; the pixel bytes are left for the caller,
    // who writes every one. The buffer is not changed. Both handles are
    // null when memory is short or the picture is not handled.
    BlockPair allocateLike(int newWidth, int newHeight) const;
    // The same for a 24-bit picture: a 40-byte header without palette.
    BlockPair allocateConverted(int newWidth, int newHeight) const;
    // Replaces a 1-, 2-, 4-, 8- or 16-bit picture by its 24-bit form.
    void convertTo24();
    // Stores new blocks in place of the current ones (freed), with the size
    // and depth read from the new header. Used by operations that rebuild the
    // picture.
    void replaceBlocks(BlockPair blocks);

    // True when the operations of this subsystem may read the picture.
    bool isHandled() const;

    int owned = 0;
    const unsigned char* palette = nullptr; // valid only inside an operation
    std::uint16_t productTable[257][257];   // [t][u] = t * u / 256
    int enlargeEngine = 0;
    int reduceEngine = 0;
    int mixedEngine = 0;
    int destX = 0;
    int destY = 0;
    int destWidth = 0;
    int destHeight = 0;
    int destBufferWidth = 0;
    int destBufferHeight = 0;
    platform::MemoryHandle headerBlock = nullptr;
    platform::MemoryHandle bitsBlock = nullptr;
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int colorsUsed = 0;
    int stride = 0;

private:
    void readHeader();
};
