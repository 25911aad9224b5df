// plugin_io.cpp - input reading, sniffing, plug-in texts and DIB blocks.
#include "plugin_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace spi {

int openRegularFile(const char* path, uint64_t& size) {
    int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = uint64_t(st.st_size);
    return fd;
}

int readPictureInput(const char* buf, long len, unsigned int flag, PictureInput& input) {
    if (!buf) return SPI_FILE_READ_ERROR;
    if ((flag & 7) == SPI_INPUT_MEMORY) {
        if (len < 0) return SPI_OUT_OF_ORDER;
        input.data = reinterpret_cast<const unsigned char*>(buf);
        input.size = size_t(len);
        return SPI_ALL_RIGHT;
    }
    if (len < 0) return SPI_FILE_READ_ERROR;
    uint64_t fileSize = 0;
    int fd = openRegularFile(buf, fileSize);
    if (fd < 0) return SPI_FILE_READ_ERROR;
    int result = SPI_ALL_RIGHT;
    if (fileSize < uint64_t(len)) {
        result = SPI_FILE_READ_ERROR;
    } else if (fileSize - uint64_t(len) > kMaxDecoderBytes) {
        result = SPI_NO_MEMORY; // read whole, it alone would pass the decoder's share
    } else {
        size_t size = size_t(fileSize - uint64_t(len));
        input.storage.resize(size);
        size_t done = 0;
        while (done < size) {
            ssize_t n = ::pread(fd, input.storage.data() + done, size - done, off_t(len + long(done)));
            if (n <= 0) break;
            done += size_t(n);
        }
        input.storage.resize(done);
        input.data = input.storage.data();
        input.size = done;
    }
    ::close(fd);
    return result;
}

size_t readSniffBytes(uintptr_t dw, unsigned char* head, size_t count) {
    std::memset(head, 0, count);
    if (dw >= SPI_FILE_HANDLE_LIMIT) {
        std::memcpy(head, reinterpret_cast<const void*>(dw), count);
        return count;
    }
    // pread leaves the descriptor's offset where the host put it.
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::pread(int(dw), head + done, count - done, off_t(done));
        if (n <= 0) break;
        done += size_t(n);
    }
    return done;
}

int copyPluginInfo(const char* const* texts, int count, int infono, char* buf, int buflen) {
    if (infono < 0 || infono >= count || !buf || buflen <= 0) return 0;
    size_t length = std::strlen(texts[infono]);
    if (length > size_t(buflen - 1)) length = size_t(buflen - 1);
    std::memcpy(buf, texts[infono], length);
    buf[length] = 0;
    return int(length);
}

size_t dibStride(int width, int bitCount) {
    return ((size_t(width) * size_t(bitCount) + 31) / 32) * 4;
}

namespace {

void put32(unsigned char* at, uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = (unsigned char)(v >> (8 * i));
}

// The 40-byte BITMAPINFOHEADER of a picture whose rows take `stride` bytes.
void writeInfoHeader(unsigned char* header, int width, int height, int bitCount, size_t stride,
                     int paletteSize) {
    put32(header, 40);
    put32(header + 4, uint32_t(width));
    put32(header + 8, uint32_t(height));
    header[12] = 1;
    header[14] = (unsigned char)bitCount;
    put32(header + 20, uint32_t(stride * size_t(height)));
    put32(header + 24, 2835); // 72 dpi
    put32(header + 28, 2835);
    put32(header + 32, uint32_t(paletteSize));
}

// SPI_ALL_RIGHT when a picture of this shape may be allocated.
int checkShape(int width, int height) {
    if (width <= 0 || height <= 0) return SPI_OUT_OF_ORDER;
    if (width > kMaxDibSide || height > kMaxDibSide ||
        uint64_t(width) * uint64_t(height) > kMaxPicturePixels)
        return SPI_NO_MEMORY;
    return SPI_ALL_RIGHT;
}

void pointInto(DibOutput& dib, unsigned char* header, unsigned char* pixels, int width, int height,
               int bitCount) {
    dib.palette = header + 40;
    dib.pixels = pixels;
    dib.stride = dibStride(width, bitCount);
    dib.width = width;
    dib.height = height;
}

// A DIB whose pixel block is zero-filled, or left for the decoder to write
// with only each row's padding set.
int makeDib(int width, int height, int bitCount, int paletteSize, DibOutput& dib, bool filled) {
    int shape = checkShape(width, height);
    if (shape != SPI_ALL_RIGHT) return shape;
    size_t stride = dibStride(width, bitCount);
    size_t infoSize = 40 + size_t(paletteSize) * 4;
    dib.info = spiAlloc(infoSize);
    dib.bits = filled ? spiAlloc(stride * size_t(height)) : spiAllocUnfilled(stride * size_t(height));
    if (!dib.info || !dib.bits) {
        discard(dib);
        return SPI_NO_MEMORY;
    }
    auto* header = static_cast<unsigned char*>(spiLock(dib.info));
    writeInfoHeader(header, width, height, bitCount, stride, paletteSize);
    pointInto(dib, header, static_cast<unsigned char*>(spiLock(dib.bits)), width, height, bitCount);
    if (!filled) {
        const size_t used = (size_t(width) * size_t(bitCount) + 7) / 8;
        for (int y = 0; y < height && used < stride; ++y)
            std::memset(dib.row(y) + used, 0, stride - used);
    }
    return SPI_ALL_RIGHT;
}

} // namespace

int createDib(int width, int height, int bitCount, int paletteSize, DibOutput& dib) {
    return makeDib(width, height, bitCount, paletteSize, dib, true);
}

int createDibForRows(int width, int height, int bitCount, int paletteSize, DibOutput& dib) {
    return makeDib(width, height, bitCount, paletteSize, dib, false);
}

size_t bmpFileSize(int width, int height, int bitCount, int paletteSize) {
    if (checkShape(width, height) != SPI_ALL_RIGHT) return 0;
    return kBmpFileHeaderBytes + 40 + size_t(paletteSize) * 4 + dibStride(width, bitCount) * size_t(height);
}

int createBmpFile(int width, int height, int bitCount, int paletteSize, DibOutput& dib) {
    int shape = checkShape(width, height);
    if (shape != SPI_ALL_RIGHT) return shape;
    size_t size = bmpFileSize(width, height, bitCount, paletteSize);
    dib.info = spiAlloc(size);
    if (!dib.info) return SPI_NO_MEMORY;
    auto* file = static_cast<unsigned char*>(spiLock(dib.info));
    size_t offset = kBmpFileHeaderBytes + 40 + size_t(paletteSize) * 4;
    file[0] = 'B';
    file[1] = 'M';
    put32(file + 2, uint32_t(size));
    put32(file + 10, uint32_t(offset));
    unsigned char* header = file + kBmpFileHeaderBytes;
    writeInfoHeader(header, width, height, bitCount, dibStride(width, bitCount), paletteSize);
    pointInto(dib, header, file + offset, width, height, bitCount);
    return SPI_ALL_RIGHT;
}

void setGreyPalette(DibOutput& dib, int entries) {
    for (int i = 0; i < entries; ++i) {
        unsigned char v = (unsigned char)(entries > 1 ? i * 255 / (entries - 1) : 0);
        dib.palette[i * 4] = dib.palette[i * 4 + 1] = dib.palette[i * 4 + 2] = v;
    }
}

namespace {

void swapRedBluePlain(const unsigned char* in, unsigned char* out, size_t count) {
    for (size_t x = 0; x < count; ++x, in += 3, out += 3) {
        unsigned char first = in[0];
        out[0] = in[2];
        out[1] = in[1];
        out[2] = first;
    }
}

#if defined(__x86_64__)
// Five pixels a step with one byte shuffle; the sixteenth byte of each load
// goes back unchanged, so in-place work is safe.
__attribute__((target("ssse3"))) void swapRedBlueSsse3(const unsigned char* in, unsigned char* out, size_t count) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    size_t x = 0;
    for (; x + 6 <= count; x += 5) {
        __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x * 3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x * 3), _mm_shuffle_epi8(pixels, order));
    }
    swapRedBluePlain(in + x * 3, out + x * 3, count - x);
}
#endif

} // namespace

void copySwappingRedBlue(const unsigned char* in, unsigned char* out, size_t count) {
#if defined(__x86_64__)
    static const bool shuffles = __builtin_cpu_supports("ssse3");
    if (shuffles) {
        swapRedBlueSsse3(in, out, count);
        return;
    }
#endif
    swapRedBluePlain(in, out, count);
}

void flipToBottomUp(DibOutput& dib, bool swapRedBlue) {
    std::vector<unsigned char> spare(dib.stride);
    const size_t width = size_t(dib.width);
    for (int top = 0, bottom = dib.height - 1; top <= bottom; ++top, --bottom) {
        unsigned char* a = dib.pixels + size_t(top) * dib.stride;
        unsigned char* b = dib.pixels + size_t(bottom) * dib.stride;
        if (a == b) {
            if (swapRedBlue) copySwappingRedBlue(a, a, width);
            break;
        }
        std::memcpy(spare.data(), a, dib.stride);
        if (swapRedBlue) {
            copySwappingRedBlue(b, a, width);
            copySwappingRedBlue(spare.data(), b, width);
        } else {
            std::memcpy(a, b, dib.stride);
            std::memcpy(b, spare.data(), dib.stride);
        }
    }
}

int handOverFile(DibOutput& dib, SpiHandle* file) {
    if (!file) {
        discard(dib);
        return SPI_MEMORY_ERROR;
    }
    *file = dib.info;
    dib.info = nullptr;
    return SPI_ALL_RIGHT;
}

int handOver(DibOutput& dib, SpiHandle* pHBInfo, SpiHandle* pHBm) {
    if (!pHBInfo || !pHBm) {
        discard(dib);
        return SPI_MEMORY_ERROR;
    }
    *pHBInfo = dib.info;
    *pHBm = dib.bits;
    dib.info = dib.bits = nullptr;
    return SPI_ALL_RIGHT;
}

void discard(DibOutput& dib) {
    spiFree(dib.info);
    spiFree(dib.bits);
    dib.info = dib.bits = nullptr;
}

} // namespace spi

namespace spi {

int isSupportedWith(SniffFunction sniff, uintptr_t dw) {
    return guardedCall(
        [&] {
            unsigned char head[64];
            size_t known = readSniffBytes(dw, head, sizeof head);
            return sniff(head, known) ? 1 : 0;
        },
        0, 0);
}

int getPictureWith(DecodeFunction decode, const char* buf, long len, unsigned int flag,
                   SpiHandle* pHBInfo, SpiHandle* pHBm) {
    if (!pHBInfo || !pHBm) return SPI_MEMORY_ERROR;
    return guardedCall([&] {
        PictureInput input;
        int result = readPictureInput(buf, len, flag, input);
        if (result != SPI_ALL_RIGHT) return result;
        return decode(input.data, input.size, pHBInfo, pHBm);
    });
}

} // namespace spi
