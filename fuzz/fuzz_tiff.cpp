// fuzz_tiff.cpp - both TIFF plug-ins on arbitrary memory images: the picture
// decoder, then the book's listing and the extraction of every listed page.
#include "picture_fuzzing.h"
#include "tiff/tiff_book.h"
#include "tiff/tiff_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    fuzzing::decodeAndFree(decodeTiff, data, size);
    TiffSource source = TiffSource::memory(data, size);
    SpiHandle listing = nullptr;
    if (listTiffBook(source, &listing) != SPI_ALL_RIGHT) return 0;
    const auto* records = static_cast<const SpiFileInfo*>(spiLock(listing));
    for (size_t i = 0; records[i].method[0] != 0 && i < 8; ++i) {
        SpiHandle page = nullptr;
        if (extractTiffPage(source, long(records[i].position), &page) == SPI_ALL_RIGHT) spiFree(page);
    }
    spiFree(listing);
    return 0;
}
