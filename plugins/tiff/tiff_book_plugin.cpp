// tiff_book_plugin.cpp - the exports of tiff_book.spi: TIFF files of two pages
// or more, opened as books whose pages step like an archive's members.
#include <unistd.h>

#include "common/plugin_io.h"
#include "tiff/tiff_book.h"

namespace {

const char* const kInfo[] = {SPI_KIND_ARCHIVE, "Voxa TIFF book plug-in (libtiff)", "*.tif;*.tiff",
                             "TIFF books"};

// Runs `work` on the TIFF named by GetArchiveInfo's or GetFile's arguments:
// a regular file (starting `offset` bytes in) or a memory image of `size`
// bytes. No exception leaves it.
template <typename Work>
int withSource(const char* buf, long offset, size_t size, unsigned int flag, Work work) {
    if (!buf) return SPI_FILE_READ_ERROR;
    if ((flag & 7) == SPI_INPUT_MEMORY) {
        TiffSource source = TiffSource::memory(reinterpret_cast<const unsigned char*>(buf), size);
        return spi::guardedCall([&] { return work(source); });
    }
    uint64_t fileSize = 0;
    int fd = offset < 0 ? -1 : spi::openRegularFile(buf, fileSize);
    if (fd < 0) return SPI_FILE_READ_ERROR;
    TiffSource source = TiffSource::descriptor(fd, uint64_t(offset));
    int result = spi::guardedCall([&] { return work(source); });
    ::close(fd);
    return result;
}

} // namespace

extern "C" {

SPI_EXPORT int GetPluginInfo(int infono, char* buf, int buflen) {
    return spi::copyPluginInfo(kInfo, 4, infono, buf, buflen);
}

// Every call works on its own state.
SPI_EXPORT int CallsMayOverlap() {
    return 1;
}

SPI_EXPORT int IsSupported(const char*, uintptr_t dw) {
    return spi::guardedCall([&] { return tiffPagesBehind(dw, 2) >= 2 ? 1 : 0; }, 0, 0);
}

SPI_EXPORT int GetArchiveInfo(const char* buf, long len, unsigned int flag, SpiHandle* lphInf) {
    size_t size = len > 0 ? size_t(len) : 0;
    return withSource(buf, len, size, flag, [&](TiffSource& source) { return listTiffBook(source, lphInf); });
}

SPI_EXPORT int GetFile(const char* src, long len, char* dest, unsigned int flag, SpiProgressCallback, long) {
    // Only extraction to memory exists; the viewer never asks for a file, and
    // a memory image would come without its length.
    if ((flag & 0x700) != SPI_OUTPUT_MEMORY || (flag & 7) != SPI_INPUT_FILE) return SPI_NO_FUNCTION;
    return withSource(src, 0, 0, flag, [&](TiffSource& source) {
        return extractTiffPage(source, len, reinterpret_cast<SpiHandle*>(dest));
    });
}
}
