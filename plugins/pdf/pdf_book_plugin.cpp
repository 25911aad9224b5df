// pdf_book_plugin.cpp - the exports of pdf_book.spi: PDF files opened as
// books whose pages step like an archive's members.
#include "common/plugin_io.h"
#include "pdf/pdf_book.h"

namespace {

const char* const kInfo[] = {SPI_KIND_ARCHIVE, "Voxa PDF book plug-in (MuPDF)", "*.pdf", "PDF books"};

// The PDF named by GetArchiveInfo's or GetFile's arguments. A PDF inside a
// larger file (a non-zero offset) is not read: its offsets would be wrong.
int sourceOf(const char* buf, long len, unsigned int flag, PdfSource& source) {
    if (!buf) return SPI_FILE_READ_ERROR;
    if ((flag & 7) == SPI_INPUT_MEMORY) {
        source.data = reinterpret_cast<const unsigned char*>(buf);
        source.size = len > 0 ? size_t(len) : 0;
        return SPI_ALL_RIGHT;
    }
    if (len != 0) return SPI_NOT_SUPPORT;
    source.fileName = buf;
    return SPI_ALL_RIGHT;
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
    unsigned char head[1024];
    return isPdf(head, spi::readSniffBytes(dw, head, sizeof head));
}

SPI_EXPORT int GetArchiveInfo(const char* buf, long len, unsigned int flag, SpiHandle* lphInf) {
    PdfSource source;
    int result = sourceOf(buf, len, flag, source);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::guardedCall([&] { return listPdfBook(source, PdfBookOptions{}, lphInf); });
}

SPI_EXPORT int GetFile(const char* src, long len, char* dest, unsigned int flag, SpiProgressCallback, long) {
    // Only extraction to memory exists; the viewer never asks for a file, and
    // a memory image would come without its length.
    if ((flag & 0x700) != SPI_OUTPUT_MEMORY || (flag & 7) != SPI_INPUT_FILE) return SPI_NO_FUNCTION;
    PdfSource source;
    int result = sourceOf(src, 0, flag, source);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::guardedCall(
        [&] { return extractPdfPage(source, len, PdfBookOptions{}, reinterpret_cast<SpiHandle*>(dest)); });
}
}
