// book_listing.h - the pages of a book (a multi-page TIFF, a PDF) listed as
// the members of an archive, so the host steps through them like an archive's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "susie_plugin.h"

namespace spi {

// The most pages one listing holds; a longer book is listed up to here.
constexpr size_t kMaxBookPages = 65536;

// One page: its position handed back to GetFile, the byte count GetFile will
// hand out for it, and the extension of what it hands out.
struct BookPage {
    uint32_t position = 0;
    uint32_t size = 0;
    const char* extension = ".bmp";
};

// "0001.bmp", "0002.jpg" ...: numbered from 1 and zero-padded to at least
// four digits, as many as the last number needs, so sorting by name keeps
// the page order.
std::string bookPageName(size_t index, size_t count, const char* extension);

// GetArchiveInfo's block of member records for `pages`, each with `method`
// as its compression method. SPI_ALL_RIGHT, or SPI_NO_MEMORY.
int handOverBookListing(const std::vector<BookPage>& pages, const char* method, SpiHandle* listing);

} // namespace spi
