// pdf_book.h - the pages of a PDF as the members of an archive, on MuPDF.
//
// A scanned page (one JPEG image filling the page upright) is handed out as
// that JPEG, byte for byte; every other page is rendered to fit
// `pageHeight` pixels high and handed out as an uncompressed 24-bit BMP file.
// Members are named by page number ("0001.jpg", "0002.bmp" ...), so the
// viewer's name sort keeps the page order, and the listing already knows
// each member's exact size.
#pragma once

#include <chrono>
#include <cstddef>

#include "susie_plugin.h"

struct PdfBookOptions {
    int pageHeight = 3508; // A4 at 300 dpi
    // A render still running after this long is abandoned and the page fails.
    std::chrono::milliseconds renderLimit{10000};
};

// Where the PDF is: a file, or `size` bytes at `data`.
struct PdfSource {
    const char* fileName = nullptr;
    const unsigned char* data = nullptr;
    size_t size = 0;
};

// Non-zero when "%PDF-" appears in the first 1024 bytes, as readers allow.
int isPdf(const unsigned char* head, size_t size);

// GetArchiveInfo: one member per page, its position the page's index.
// A document that cannot be opened, or opens only with a password, fails.
int listPdfBook(const PdfSource& source, const PdfBookOptions& options, SpiHandle* listing);

// GetFile to memory: page `position` as the listing described it.
int extractPdfPage(const PdfSource& source, long position, const PdfBookOptions& options, SpiHandle* page);
