// tiff_decode.h - one page of a TIFF into a DIB, on libtiff.
#pragma once

#include <cstddef>

#include <tiffio.h>

#include "common/plugin_io.h"

// The DIB a page becomes: bilevel, grey and palette pages of 1, 2, 4 or 8 bits
// stored in strips keep their depth (with a grey ramp or their colour map as
// the palette); every other page becomes 24 bits, through libtiff's RGBA
// reader (any photometric, 16-bit samples, tiles, orientations, alpha).
struct TiffLayout {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int paletteSize = 0;
    bool throughRgba = false;
};

// The layout of the current directory; SPI_ALL_RIGHT, or SPI_NO_MEMORY for a
// page beyond the pixel cap, SPI_NOT_SUPPORT for samples libtiff cannot turn
// into RGB, SPI_OUT_OF_ORDER for a page without a size.
int tiffPageLayout(TIFF* tiff, TiffLayout& layout);

// Decodes the current directory into a DIB made by `create` (a picture for
// GetPicture, a BMP file for a book's page). Working buffers beyond `budget`
// bytes (a strip, the RGBA reader's whole picture) are refused with
// SPI_NO_MEMORY before they are allocated. On failure `dib` may hold blocks,
// which it frees with itself.
int decodeTiffPage(TIFF* tiff, spi::CreateDibFunction create, size_t budget, spi::DibOutput& dib);

// GetPicture on a whole file image: its first page. Returns an SPI_ result;
// on failure nothing is left allocated.
int decodeTiff(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
