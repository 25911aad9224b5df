// book_listing.cpp - member records for the pages of a book.
#include "common/book_listing.h"

#include <cstdio>
#include <cstring>

namespace spi {

std::string bookPageName(size_t index, size_t count, const char* extension) {
    int digits = 4;
    for (size_t last = count; last >= 10000; last /= 10) ++digits;
    char name[64];
    std::snprintf(name, sizeof name, "%0*zu%s", digits, index + 1, extension);
    return name;
}

int handOverBookListing(const std::vector<BookPage>& pages, const char* method, SpiHandle* listing) {
    if (!listing) return SPI_MEMORY_ERROR;
    SpiHandle block = spiAlloc((pages.size() + 1) * sizeof(SpiFileInfo));
    if (!block) return SPI_NO_MEMORY;
    auto* records = static_cast<SpiFileInfo*>(spiLock(block));
    for (size_t i = 0; i < pages.size(); ++i) {
        SpiFileInfo& record = records[i];
        std::strncpy(reinterpret_cast<char*>(record.method), method, sizeof record.method - 1);
        record.position = pages[i].position;
        record.compsize = record.filesize = pages[i].size;
        std::string name = bookPageName(i, pages.size(), pages[i].extension);
        std::strncpy(record.filename, name.c_str(), sizeof record.filename - 1);
    }
    *listing = block; // the closing record is the block's zero fill
    return SPI_ALL_RIGHT;
}

} // namespace spi
