// plugin_io.h - what every plug-in does the same way: read its input, sniff a
// signature, answer GetPluginInfo and hand out a DIB in the host's blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "common/picture_limits.h"
#include "susie_plugin.h"

namespace spi {

// The most memory a decoder takes beside the picture it hands out: its input
// and the large working buffers of its library together. A picture file
// larger than this is refused unread; a decoder whose library would need
// more than what its input leaves (workBudget) refuses the picture before
// the library allocates it.
constexpr size_t kMaxDecoderBytes = size_t(192) << 20;

// What a decoder whose input is `inputSize` bytes may still use.
inline size_t workBudget(size_t inputSize) {
    return inputSize < kMaxDecoderBytes ? kMaxDecoderBytes - inputSize : 0;
}

// Opens `path` for reading without waiting (a FIFO without a writer would
// block for good) and keeps it only when it is a regular file, so that no
// device or pipe is read as a picture or an archive. The descriptor, or -1;
// `size` gets the file's size.
int openRegularFile(const char* path, uint64_t& size);

// Runs `call`, an export's body, so that no exception leaves the plug-in:
// the host is no C++ caller. A failed allocation gives `noMemory`, anything
// else `otherwise`.
template <typename Call>
int guardedCall(Call call, int noMemory = SPI_NO_MEMORY, int otherwise = SPI_OTHER_ERROR) noexcept {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return noMemory;
    } catch (...) {
        return otherwise;
    }
}

// The input of GetPicture / GetArchiveInfo: either a pointer into the host's
// memory image or a copy of the file read from `len` on.
struct PictureInput {
    const unsigned char* data = nullptr;
    size_t size = 0;
    std::vector<unsigned char> storage; // owns the bytes when read from a file
};

// Fills `input` from (buf, len, flag) as GetPicture receives them. Returns
// SPI_ALL_RIGHT or the error code to hand back.
int readPictureInput(const char* buf, long len, unsigned int flag, PictureInput& input);

// Copies the first `count` bytes (count <= SPI_SNIFF_BYTES) that IsSupported
// may look at into `head`, whichever form dw takes; the rest is zero. Returns
// the number of bytes actually known (for a memory image always `count`).
size_t readSniffBytes(uintptr_t dw, unsigned char* head, size_t count);

// GetPluginInfo over a fixed table of texts; counts exclude the terminating
// zero, which is written when there is room.
int copyPluginInfo(const char* const* texts, int count, int infono, char* buf, int buflen);

// The longest side of a picture a plug-in hands out; a picture of more than
// kMaxPicturePixels is refused as well, before anything is allocated, so a
// forged header cannot exhaust memory.
constexpr int kMaxDibSide = 65535;

// True when a picture of this size is beyond the cap every plug-in honours;
// decoders ask before their library allocates anything for it.
inline bool tooManyPixels(uint64_t width, uint64_t height) {
    return width > uint64_t(kMaxDibSide) || height > uint64_t(kMaxDibSide) ||
           width * height > kMaxPicturePixels;
}

// The bytes of one row of `width` pixels at `bitCount` bits, padded to 4.
size_t dibStride(int width, int bitCount);

// A DIB under construction: both blocks allocated, the header and a palette
// of `paletteSize` entries reserved. Returns SPI_ALL_RIGHT, SPI_OUT_OF_ORDER /
// SPI_NO_MEMORY for refused sizes or failed allocations. The blocks are
// freed with the DibOutput unless handOver gave them to the host.
struct DibOutput {
    DibOutput() = default;
    DibOutput(const DibOutput&) = delete;
    DibOutput& operator=(const DibOutput&) = delete;
    ~DibOutput() {
        spiFree(info);
        spiFree(bits);
    }

    SpiHandle info = nullptr;
    SpiHandle bits = nullptr;
    unsigned char* palette = nullptr; // paletteSize * 4 bytes, B G R 0
    unsigned char* pixels = nullptr;  // bottom row first
    size_t stride = 0;
    int width = 0;
    int height = 0;

    // The pixel row `y` counted from the top of the picture.
    unsigned char* row(int y) const { return pixels + size_t(height - 1 - y) * stride; }
};
int createDib(int width, int height, int bitCount, int paletteSize, DibOutput& dib);
// The same for a decoder that writes every row's pixels before it hands the
// picture over (or fails): the pixel block is not zero-filled first, only
// the padding at the end of each row is.
int createDibForRows(int width, int height, int bitCount, int paletteSize, DibOutput& dib);

// The same picture as a whole BMP file in one block, for archive plug-ins whose
// members are pages the host reads with its own BMP reader: `info` holds the
// file, `bits` stays null, `palette` and `pixels` point into the file.
constexpr size_t kBmpFileHeaderBytes = 14;
int createBmpFile(int width, int height, int bitCount, int paletteSize, DibOutput& dib);
// The byte count createBmpFile allocates for that shape; 0 when it would refuse it.
size_t bmpFileSize(int width, int height, int bitCount, int paletteSize);
// Either of the two, for decoders that write pictures and BMP files alike.
using CreateDibFunction = int (*)(int width, int height, int bitCount, int paletteSize, DibOutput& dib);

void setGreyPalette(DibOutput& dib, int entries);
// Copies `count` R G B pixels as B G R (`in` and `out` the same, or apart).
void copySwappingRedBlue(const unsigned char* in, unsigned char* out, size_t count);
// Turns the rows of a DIB that a library filled top-down (the order libraries
// write) into the bottom-up order of a DIB, in place; with `swapRedBlue` the
// 24-bit pixels change from R G B to B G R on the way.
void flipToBottomUp(DibOutput& dib, bool swapRedBlue);
// Hands both blocks to the host; after this the DibOutput owns nothing.
int handOver(DibOutput& dib, SpiHandle* pHBInfo, SpiHandle* pHBm);
// Hands the BMP file of createBmpFile to the host.
int handOverFile(DibOutput& dib, SpiHandle* file);
void discard(DibOutput& dib);

// Composes one pixel channel with its alpha over white.
inline unsigned char overWhite(unsigned value, unsigned alpha) {
    return (unsigned char)((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

} // namespace spi

namespace spi {

// The shape every image plug-in's code has: a signature test over the first
// bytes and a decoder of a whole file image.
using SniffFunction = int (*)(const unsigned char* head, size_t size);
using DecodeFunction = int (*)(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);

// IsSupported and GetPicture in terms of those two.
int isSupportedWith(SniffFunction sniff, uintptr_t dw);
int getPictureWith(DecodeFunction decode, const char* buf, long len, unsigned int flag,
                   SpiHandle* pHBInfo, SpiHandle* pHBm);

} // namespace spi
