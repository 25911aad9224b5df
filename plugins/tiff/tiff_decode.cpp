// tiff_decode.cpp - strips copied row by row into the DIB where the page's
// samples are already DIB pixels, libtiff's RGBA reader for everything else.
#include "tiff/tiff_decode.h"

#include <algorithm>
#include <vector>

#include "tiff/tiff_source.h"

namespace {

uint16_t field16(TIFF* tiff, ttag_t tag, uint16_t fallback) {
    uint16_t value = fallback;
    return TIFFGetFieldDefaulted(tiff, tag, &value) ? value : fallback;
}

bool hasColourMap(TIFF* tiff) {
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    return TIFFGetField(tiff, TIFFTAG_COLORMAP, &r, &g, &b) && r && g && b;
}

// Pages whose strips hold DIB pixels as they are: grey, bilevel or palette
// indices, or 8-bit RGB, top row first, unsigned, one plane.
bool copiesStrips(TIFF* tiff, uint16_t bits, uint16_t samples, uint16_t photometric) {
    if (TIFFIsTiled(tiff) || field16(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) != ORIENTATION_TOPLEFT ||
        field16(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT) != SAMPLEFORMAT_UINT)
        return false;
    if (samples == 3) {
        return photometric == PHOTOMETRIC_RGB && bits == 8 &&
               field16(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == PLANARCONFIG_CONTIG;
    }
    if (samples != 1 || (bits != 1 && bits != 2 && bits != 4 && bits != 8)) return false;
    if (photometric == PHOTOMETRIC_PALETTE) return hasColourMap(tiff);
    return photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
}

void fillPalette(TIFF* tiff, uint16_t photometric, spi::DibOutput& dib, int entries) {
    if (photometric != PHOTOMETRIC_PALETTE) {
        spi::setGreyPalette(dib, entries);
        if (photometric == PHOTOMETRIC_MINISWHITE)
            for (int i = 0; i < entries / 2; ++i)
                for (int c = 0; c < 4; ++c) std::swap(dib.palette[i * 4 + c], dib.palette[(entries - 1 - i) * 4 + c]);
        return;
    }
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    TIFFGetField(tiff, TIFFTAG_COLORMAP, &r, &g, &b);
    // Some writers store 8-bit values where 16-bit ones belong; a map whose
    // entries all fit in 8 bits is read as such, as libtiff itself does.
    bool eightBit = true;
    for (int i = 0; i < entries; ++i) eightBit = eightBit && r[i] < 256 && g[i] < 256 && b[i] < 256;
    const int shift = eightBit ? 0 : 8;
    for (int i = 0; i < entries; ++i) {
        dib.palette[i * 4] = (unsigned char)(b[i] >> shift);
        dib.palette[i * 4 + 1] = (unsigned char)(g[i] >> shift);
        dib.palette[i * 4 + 2] = (unsigned char)(r[i] >> shift);
    }
}

int copyStrips(TIFF* tiff, const TiffLayout& layout, size_t budget, spi::DibOutput& dib) {
    const size_t rowBytes = (size_t(layout.width) * size_t(layout.bitCount) + 7) / 8;
    if (TIFFScanlineSize64(tiff) != rowBytes) return SPI_OUT_OF_ORDER;
    uint32_t rowsPerStrip = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, uint32_t(layout.height));
    if (uint64_t(rowBytes) * rowsPerStrip > budget) return SPI_NO_MEMORY;
    std::vector<unsigned char> strip(rowBytes * rowsPerStrip);
    for (uint32_t top = 0; top < uint32_t(layout.height); top += rowsPerStrip) {
        const uint32_t rows = std::min(rowsPerStrip, uint32_t(layout.height) - top);
        const tmsize_t wanted = tmsize_t(rows * rowBytes);
        if (TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, top, 0), strip.data(), wanted) < wanted)
            return SPI_OUT_OF_ORDER;
        for (uint32_t r = 0; r < rows; ++r) {
            const unsigned char* in = strip.data() + r * rowBytes;
            unsigned char* out = dib.row(int(top + r));
            if (layout.bitCount != 24) {
                std::copy(in, in + rowBytes, out);
                continue;
            }
            spi::copySwappingRedBlue(in, out, size_t(layout.width));
        }
    }
    return SPI_ALL_RIGHT;
}

// libtiff's RGBA reader, asked for bottom-up rows as the DIB keeps them. Its
// colours come premultiplied by alpha, so composing over white adds the rest.
int readThroughRgba(TIFF* tiff, const TiffLayout& layout, size_t budget, spi::DibOutput& dib) {
    const size_t count = size_t(layout.width) * size_t(layout.height);
    if (uint64_t(count) * 4 > budget) return SPI_NO_MEMORY;
    std::vector<uint32_t> raster(count);
    if (!TIFFReadRGBAImageOriented(tiff, uint32_t(layout.width), uint32_t(layout.height), raster.data(),
                                   ORIENTATION_BOTLEFT, 1))
        return SPI_OUT_OF_ORDER;
    for (int y = 0; y < layout.height; ++y) {
        const uint32_t* in = raster.data() + size_t(y) * size_t(layout.width);
        unsigned char* out = dib.pixels + size_t(y) * dib.stride;
        for (int x = 0; x < layout.width; ++x, out += 3) {
            const uint32_t pixel = in[x];
            const unsigned transparent = 255 - TIFFGetA(pixel);
            out[0] = (unsigned char)std::min(255u, TIFFGetB(pixel) + transparent);
            out[1] = (unsigned char)std::min(255u, TIFFGetG(pixel) + transparent);
            out[2] = (unsigned char)std::min(255u, TIFFGetR(pixel) + transparent);
        }
    }
    return SPI_ALL_RIGHT;
}

} // namespace

int tiffPageLayout(TIFF* tiff, TiffLayout& layout) {
    uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0) return SPI_OUT_OF_ORDER;
    if (spi::tooManyPixels(width, height)) return SPI_NO_MEMORY;
    layout = TiffLayout{};
    layout.width = int(width);
    layout.height = int(height);
    const uint16_t bits = field16(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    const uint16_t samples = field16(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    uint16_t photometric = 0;
    if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) && copiesStrips(tiff, bits, samples, photometric)) {
        layout.bitCount = samples == 3 ? 24 : bits;
        layout.paletteSize = samples == 3 ? 0 : 1 << bits;
        return SPI_ALL_RIGHT;
    }
    char why[1024];
    if (!TIFFRGBAImageOK(tiff, why)) return SPI_NOT_SUPPORT;
    layout.bitCount = 24;
    layout.throughRgba = true;
    return SPI_ALL_RIGHT;
}

int decodeTiffPage(TIFF* tiff, spi::CreateDibFunction create, size_t budget, spi::DibOutput& dib) {
    TiffLayout layout;
    int result = tiffPageLayout(tiff, layout);
    if (result == SPI_ALL_RIGHT) result = create(layout.width, layout.height, layout.bitCount, layout.paletteSize, dib);
    if (result != SPI_ALL_RIGHT) return result;
    if (layout.throughRgba) return readThroughRgba(tiff, layout, budget, dib);
    uint16_t photometric = 0;
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    if (layout.paletteSize) fillPalette(tiff, photometric, dib, layout.paletteSize);
    return copyStrips(tiff, layout, budget, dib);
}

int decodeTiff(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits) {
    if (!isTiff(data, size)) return SPI_NOT_SUPPORT;
    TiffSource source = TiffSource::memory(data, size);
    TiffFile tiff = openTiff(source);
    if (!tiff) return SPI_OUT_OF_ORDER;
    std::vector<uint32_t> pages = tiffPages(tiff.get(), 1);
    if (pages.empty() || !TIFFSetDirectory(tiff.get(), pages.front())) return SPI_OUT_OF_ORDER;
    spi::DibOutput dib;
    int result = decodeTiffPage(tiff.get(), spi::createDib, spi::workBudget(size), dib);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOver(dib, info, bits);
}
