// plain_dib.h - every picture the loader hands out, in the one form the
// picture buffer reads as it stands.
//
// That form (platform::readPlainDibLayout) is a 40-byte BITMAPINFOHEADER and
// its palette in one block, bottom-up rows of 1, 2, 4, 8, 16 (5-5-5) or 24
// bits in the other, no more than kMaxPicturePixels pixels. A DIB in another
// form, from a BMP file or from a plug-in, is converted where that can be
// done soundly: V2 to V5 headers, bit-field masks at 16 and 32 bits, 32-bit
// rows, top-down rows, RLE8 and RLE4. Everything else is refused, and so is
// a DIB whose parts are shorter than its header says. The size is checked
// before anything is allocated, so a forged header costs nothing.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/memory_block.h"

// Reads `count` bytes at `offset` of one part of a DIB; false when they are
// not all there.
using ByteReader = std::function<bool(std::uint64_t offset, void* out, std::size_t count)>;

// A DIB as a reader meets it: the info header with its masks and palette, of
// `headerSize` bytes, and the pixel bytes, of `pixelSize` bytes.
struct DibSource {
    std::uint64_t headerSize = 0;
    ByteReader readHeader;
    std::uint64_t pixelSize = 0;
    ByteReader readPixels;
};

// The plain form of `source` in two new blocks, which the caller owns; 1, or
// 0 (nothing allocated) when it cannot be had.
int readPlainDib(const DibSource& source, platform::MemoryHandle* header,
                 platform::MemoryHandle* bits);

// Replaces a decoded pair (header block and pixel block) by its plain form:
// a pair already plain is kept as it is, another is converted and the old
// blocks freed. 1; or 0 when it cannot be had, both blocks freed and both
// handles null.
int makePlain(platform::MemoryHandle* header, platform::MemoryHandle* bits);

// A reader over `size` bytes at `bytes`.
ByteReader memoryReader(const unsigned char* bytes, std::uint64_t size);
