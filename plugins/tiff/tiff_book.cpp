// tiff_book.cpp - listing and extracting the pages of a TIFF.
#include "tiff/tiff_book.h"

#include <vector>

#include "common/book_listing.h"
#include "common/plugin_io.h"
#include "tiff/tiff_decode.h"

int listTiffBook(TiffSource& source, SpiHandle* listing) {
    if (!listing) return SPI_MEMORY_ERROR;
    TiffFile tiff = openTiff(source);
    if (!tiff) return SPI_NOT_SUPPORT;
    std::vector<uint32_t> directories = tiffPages(tiff.get(), spi::kMaxBookPages);
    if (directories.empty()) return SPI_OUT_OF_ORDER;
    std::vector<spi::BookPage> pages;
    for (uint32_t directory : directories) {
        spi::BookPage page;
        page.position = directory;
        TiffLayout layout;
        // A page that cannot be decoded is still listed, with no size; its
        // extraction fails and the viewer says so when it gets there.
        if (TIFFSetDirectory(tiff.get(), tdir_t(directory)) && tiffPageLayout(tiff.get(), layout) == SPI_ALL_RIGHT)
            page.size = uint32_t(spi::bmpFileSize(layout.width, layout.height, layout.bitCount, layout.paletteSize));
        pages.push_back(page);
    }
    return spi::handOverBookListing(pages, "TIFF", listing);
}

int extractTiffPage(TiffSource& source, long position, SpiHandle* page) {
    if (!page) return SPI_MEMORY_ERROR;
    if (position < 0 || position >= long(spi::kMaxBookPages)) return SPI_OUT_OF_ORDER;
    TiffFile tiff = openTiff(source);
    if (!tiff) return SPI_NOT_SUPPORT;
    if (!TIFFSetDirectory(tiff.get(), tdir_t(position))) return SPI_OUT_OF_ORDER;
    spi::DibOutput dib;
    // A book is read from its file, never whole: the share is all the page's.
    int result = decodeTiffPage(tiff.get(), spi::createBmpFile, spi::workBudget(source.size), dib);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOverFile(dib, page);
}
