// fuzz_pdf_book.cpp - the PDF book on arbitrary memory images: the listing,
// then the first pages extracted, rendered small so each run stays quick.
#include "pdf/pdf_book.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    PdfSource source;
    source.data = data;
    source.size = size;
    PdfBookOptions options;
    options.pageHeight = 96;
    options.renderLimit = std::chrono::milliseconds(1000);
    SpiHandle listing = nullptr;
    if (listPdfBook(source, options, &listing) != SPI_ALL_RIGHT) return 0;
    const auto* records = static_cast<const SpiFileInfo*>(spiLock(listing));
    for (size_t i = 0; records[i].method[0] != 0 && i < 4; ++i) {
        SpiHandle page = nullptr;
        if (extractPdfPage(source, long(records[i].position), options, &page) == SPI_ALL_RIGHT) spiFree(page);
    }
    spiFree(listing);
    return 0;
}
