// tiff_source.h - libtiff reading from a memory image or from a descriptor the
// host lent us, and the pages such a file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <tiffio.h>

// Where a TIFF's bytes are: `size` bytes at `data`, or the descriptor `fd`
// read with pread from `offset` on, so the descriptor's own position never
// moves (the host may lend its descriptor to IsSupported).
struct TiffSource {
    const unsigned char* data = nullptr;
    size_t size = 0;
    int fd = -1;
    uint64_t offset = 0;
    uint64_t at = 0; // libtiff's read position, relative to the TIFF's start

    static TiffSource memory(const unsigned char* data, size_t size);
    static TiffSource descriptor(int fd, uint64_t offset = 0);
};

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

// Opens the source read-only with libtiff's messages silenced and its own
// allocations capped; null when libtiff refuses the file. The source must
// outlive the returned file.
TiffFile openTiff(TiffSource& source);

// Non-zero when the bytes start with the classic or the BigTIFF signature.
int isTiff(const unsigned char* head, size_t size);

// What IsSupported can tell about the file behind its `dw` argument: 0 when it
// is no readable TIFF, -1 for a TIFF in a memory image (whose length is not
// known, so its pages cannot be walked safely), otherwise its page count, at
// most `limit`.
int tiffPagesBehind(uintptr_t dw, size_t limit);

// The directories that are pages, in file order: every directory except
// reduced-size copies (thumbnails). At most `limit` are collected.
std::vector<uint32_t> tiffPages(TIFF* tiff, size_t limit);
