// tiff_plugin.cpp - the exports of tiff.spi: TIFF files of one page. Files of
// two pages or more are declined here and taken by tiff_book.spi, which the
// host asks next, so they open as books.
#include "common/plugin_io.h"
#include "tiff/tiff_decode.h"
#include "tiff/tiff_source.h"

namespace {

const char* const kInfo[] = {SPI_KIND_IMAGE, "Voxa TIFF plug-in (libtiff)", "*.tif;*.tiff", "TIFF files"};

} // namespace

extern "C" {

SPI_EXPORT int GetPluginInfo(int infono, char* buf, int buflen) {
    return spi::copyPluginInfo(kInfo, 4, infono, buf, buflen);
}

// A memory image (an archive's member) is taken by its signature and shows its
// first page; a file is taken when it holds exactly one page.
// Every call works on its own state.
SPI_EXPORT int CallsMayOverlap() {
    return 1;
}

SPI_EXPORT int IsSupported(const char*, uintptr_t dw) {
    return spi::guardedCall(
        [&] {
            int pages = tiffPagesBehind(dw, 2);
            return pages == -1 || pages == 1 ? 1 : 0;
        },
        0, 0);
}

SPI_EXPORT int GetPicture(const char* buf, long len, unsigned int flag, SpiHandle* pHBInfo, SpiHandle* pHBm,
                          SpiProgressCallback, long) {
    return spi::getPictureWith(decodeTiff, buf, len, flag, pHBInfo, pHBm);
}
}
