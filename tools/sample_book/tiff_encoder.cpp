// tiff_encoder.cpp - libtiff writing into memory through client procedures.
#include "sample_book/tiff_encoder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <tiffio.h>

namespace encoders {

namespace {

struct Buffer {
    std::string bytes;
    toff_t at = 0;
};

// libtiff reads back what it wrote when it links one directory to the next.
tmsize_t readProc(thandle_t handle, void* data, tmsize_t size) {
    auto* b = static_cast<Buffer*>(handle);
    size_t n = b->at < b->bytes.size() ? std::min(size_t(size), size_t(b->bytes.size() - b->at)) : 0;
    std::memcpy(data, b->bytes.data() + b->at, n);
    b->at += toff_t(n);
    return tmsize_t(n);
}

tmsize_t writeProc(thandle_t handle, void* data, tmsize_t size) {
    auto* b = static_cast<Buffer*>(handle);
    if (b->at + toff_t(size) > b->bytes.size()) b->bytes.resize(size_t(b->at) + size_t(size));
    std::memcpy(&b->bytes[size_t(b->at)], data, size_t(size));
    b->at += toff_t(size);
    return size;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* b = static_cast<Buffer*>(handle);
    if (whence == SEEK_CUR) offset += b->at;
    if (whence == SEEK_END) offset += b->bytes.size();
    b->at = offset;
    return offset;
}

int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t handle) { return static_cast<Buffer*>(handle)->bytes.size(); }
int mapProc(thandle_t, void**, toff_t*) { return 0; }
void unmapProc(thandle_t, void*, toff_t) {}

// The samples of row `y` as the page stores them.
std::vector<std::uint8_t> rowSamples(const TiffPage& page, int y, int plane) {
    const Picture& p = page.picture;
    const std::uint8_t* in = p.pixels.data() + size_t(y) * size_t(p.width) * size_t(p.channels);
    std::vector<std::uint8_t> row;
    if (page.bitsPerSample < 8) {
        // Packed, first pixel in the highest bits: palette indices as they
        // are, grey reduced (bilevel: thresholded at 128).
        const int bits = page.bitsPerSample;
        row.assign((size_t(p.width) * size_t(bits) + 7) / 8, 0);
        for (int x = 0; x < p.width; ++x) {
            unsigned v = in[x];
            if (page.paletteRgb.empty()) {
                v = bits == 1 ? (v >= 128 ? 1 : 0) : v >> (8 - bits);
                if (page.minIsWhite) v = ((1u << bits) - 1) - v;
            }
            size_t at = size_t(x) * size_t(bits);
            row[at / 8] |= std::uint8_t(v << (8 - bits - int(at % 8)));
        }
        return row;
    }
    for (int x = 0; x < p.width; ++x)
        for (int c = 0; c < p.channels; ++c) {
            if (page.separatePlanes && c != plane) continue;
            std::uint8_t v = in[size_t(x) * size_t(p.channels) + size_t(c)];
            if (page.minIsWhite && page.paletteRgb.empty()) v = std::uint8_t(255 - v);
            if (page.bitsPerSample == 16) {
                std::uint16_t wide = std::uint16_t(v * 257);
                row.resize(row.size() + 2);
                std::memcpy(&row[row.size() - 2], &wide, 2);
            } else {
                row.push_back(v);
            }
        }
    return row;
}

void writeTiles(TIFF* tiff, const TiffPage& page, int planes) {
    const Picture& p = page.picture;
    size_t rowBytes = rowSamples(page, 0, 0).size() / size_t(p.width);
    std::vector<std::uint8_t> tile(size_t(TIFFTileSize(tiff)));
    for (int plane = 0; plane < planes; ++plane)
        for (int ty = 0; ty < p.height; ty += page.tileSide)
            for (int tx = 0; tx < p.width; tx += page.tileSide) {
                std::fill(tile.begin(), tile.end(), 0);
                for (int y = ty; y < std::min(p.height, ty + page.tileSide); ++y) {
                    std::vector<std::uint8_t> row = rowSamples(page, y, plane);
                    size_t count = size_t(std::min(page.tileSide, p.width - tx)) * rowBytes;
                    std::memcpy(&tile[size_t(y - ty) * size_t(page.tileSide) * rowBytes], &row[size_t(tx) * rowBytes], count);
                }
                if (TIFFWriteTile(tiff, tile.data(), uint32_t(tx), uint32_t(ty), 0, uint16_t(plane)) < 0)
                    throw std::runtime_error("TIFF encoding: tile");
            }
}

void writePage(TIFF* tiff, const TiffPage& page, int number, int count) {
    const Picture& p = page.picture;
    const bool palette = !page.paletteRgb.empty();
    const int colours = p.channels >= 3 ? 3 : 1;
    const int extra = p.channels - colours;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(p.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(p.height));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(page.bitsPerSample));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(page.bitsPerSample == 1 ? 1 : p.channels));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, page.separatePlanes ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(page.compression));
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, uint16_t(page.orientation));
    if (page.reducedImage) TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, uint32_t(FILETYPE_REDUCEDIMAGE));
    TIFFSetField(tiff, TIFFTAG_PAGENUMBER, uint16_t(number), uint16_t(count));
    if (page.compression == COMPRESSION_JPEG) {
        TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 90);
        if (colours == 3) {
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
            TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        }
    }
    if (!(page.compression == COMPRESSION_JPEG && colours == 3)) {
        uint16_t photometric = palette ? PHOTOMETRIC_PALETTE
                               : colours == 3 ? PHOTOMETRIC_RGB
                               : page.minIsWhite ? PHOTOMETRIC_MINISWHITE
                                                 : PHOTOMETRIC_MINISBLACK;
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, photometric);
    }
    if (extra > 0) {
        uint16_t kind = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &kind);
    }
    if (palette) {
        size_t entries = size_t(1) << page.bitsPerSample;
        std::vector<uint16_t> r(entries), g(entries), b(entries);
        for (size_t i = 0; i < entries && i * 3 + 2 < page.paletteRgb.size(); ++i) {
            r[i] = uint16_t(page.paletteRgb[i * 3] * 257);
            g[i] = uint16_t(page.paletteRgb[i * 3 + 1] * 257);
            b[i] = uint16_t(page.paletteRgb[i * 3 + 2] * 257);
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    const int planes = page.separatePlanes ? p.channels : 1;
    if (page.tileSide > 0) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, uint32_t(page.tileSide));
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, uint32_t(page.tileSide));
        writeTiles(tiff, page, planes);
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
        for (int plane = 0; plane < planes; ++plane)
            for (int y = 0; y < p.height; ++y) {
                std::vector<std::uint8_t> row = rowSamples(page, y, plane);
                if (TIFFWriteScanline(tiff, row.data(), uint32_t(y), uint16_t(plane)) < 0)
                    throw std::runtime_error("TIFF encoding: scanline");
            }
    }
    if (!TIFFWriteDirectory(tiff)) throw std::runtime_error("TIFF encoding: directory");
}

} // namespace

std::string encodeTiff(const std::vector<TiffPage>& pages) {
    Buffer buffer;
    TIFF* tiff = TIFFClientOpen("memory", "w", &buffer, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                                unmapProc);
    if (!tiff) throw std::runtime_error("TIFF encoding: open");
    try {
        for (size_t i = 0; i < pages.size(); ++i) writePage(tiff, pages[i], int(i), int(pages.size()));
    } catch (...) {
        TIFFClose(tiff);
        throw;
    }
    TIFFClose(tiff);
    return buffer.bytes;
}

} // namespace encoders
