// png_decode.cpp - libpng reading from memory, longjmp on errors.
#include "png/png_decode.h"

#include <cstring>
#include <vector>

#include <png.h>

#include "common/plugin_io.h"

namespace {

struct Reader {
    const unsigned char* data;
    size_t size;
    size_t at;
};

void readBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (count > r->size - r->at) png_error(png, "truncated");
    std::memcpy(out, r->data + r->at, count);
    r->at += count;
}

void onWarning(png_structp, png_const_charp) {}
void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Everything the decoder touches after setjmp lives here.
struct Decode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    spi::DibOutput dib;
    // Rows with alpha, composed over white into the DIB (see run).
    std::vector<unsigned char> rgba;
    std::vector<png_bytep> rows;

    Decode() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (png) info = png_create_info_struct(png);
    }
    ~Decode() { png_destroy_read_struct(&png, &info, nullptr); }
    Decode(const Decode&) = delete;
    Decode& operator=(const Decode&) = delete;
};

// Row `y` of `d.rgba` rows of `channels` bytes a pixel (the last alpha),
// over white into row `y` of the DIB.
void composeRow(const Decode& d, const unsigned char* in, int y, size_t channels) {
    const size_t colours = channels - 1;
    unsigned char* out = d.dib.row(y);
    for (int x = 0; x < d.dib.width; ++x, in += channels, out += colours)
        for (size_t c = 0; c < colours; ++c) out[c] = spi::overWhite(in[c], in[colours]);
}

int run(Decode& d, Reader& reader) {
    png_set_read_fn(d.png, &reader, readBytes);
    // libpng's own limits stop absurd headers before anything is allocated.
    png_set_user_limits(d.png, spi::kMaxDibSide, spi::kMaxDibSide);
    png_read_info(d.png, d.info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, type = 0, interlace = 0;
    png_get_IHDR(d.png, d.info, &width, &height, &depth, &type, &interlace, nullptr, nullptr);
    bool transparent = png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0;
    bool indexed = type == PNG_COLOR_TYPE_PALETTE && !transparent;
    bool grey = (type & PNG_COLOR_MASK_COLOR) == 0;
    bool alpha = transparent || (type & PNG_COLOR_MASK_ALPHA) != 0;

    if (depth == 16) png_set_strip_16(d.png);
    if (!indexed) {
        png_set_expand(d.png); // palette to RGB, grey to 8 bits, tRNS to alpha
        if (!grey) png_set_bgr(d.png);
    }
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);

    // Alpha is composed over white row by row, except in an interlaced
    // picture, whose passes fill in rows all over it: that one waits whole,
    // and is refused before anything is allocated when it would not fit.
    size_t channels = grey ? 2 : 4;
    size_t inStride = channels * width;
    bool whole = alpha && interlace != PNG_INTERLACE_NONE;
    if (whole && uint64_t(inStride) * height > spi::workBudget(reader.size)) return SPI_NO_MEMORY;

    int outDepth = indexed ? depth : grey ? 8 : 24;
    int paletteSize = indexed ? 1 << depth : grey ? 256 : 0;
    int result = spi::createDib(int(width), int(height), outDepth, paletteSize, d.dib);
    if (result != SPI_ALL_RIGHT) return result;
    if (indexed) {
        png_colorp palette = nullptr;
        int count = 0;
        png_get_PLTE(d.png, d.info, &palette, &count);
        for (int i = 0; i < count && i < paletteSize; ++i) {
            d.dib.palette[i * 4] = palette[i].blue;
            d.dib.palette[i * 4 + 1] = palette[i].green;
            d.dib.palette[i * 4 + 2] = palette[i].red;
        }
    } else if (grey) {
        spi::setGreyPalette(d.dib, 256);
    }

    d.rows.resize(height);
    if (!alpha) {
        for (png_uint_32 y = 0; y < height; ++y) d.rows[y] = d.dib.row(int(y));
        png_read_image(d.png, d.rows.data());
        png_read_end(d.png, nullptr);
        return SPI_ALL_RIGHT;
    }
    if (!whole) {
        d.rgba.resize(inStride);
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(d.png, d.rgba.data(), nullptr);
            composeRow(d, d.rgba.data(), int(y), channels);
        }
    } else {
        d.rgba.resize(inStride * height);
        for (png_uint_32 y = 0; y < height; ++y) d.rows[y] = d.rgba.data() + y * inStride;
        png_read_image(d.png, d.rows.data());
        for (png_uint_32 y = 0; y < height; ++y) composeRow(d, d.rows[y], int(y), channels);
    }
    png_read_end(d.png, nullptr);
    return SPI_ALL_RIGHT;
}

// setjmp sits in a frame of its own so no local of the caller can be clobbered.
int guardedRun(Decode& d, Reader& reader) {
    if (setjmp(png_jmpbuf(d.png)) != 0) return SPI_OUT_OF_ORDER;
    return run(d, reader);
}

} // namespace

int isPng(const unsigned char* head, size_t size) {
    return size >= 8 && png_sig_cmp(head, 0, 8) == 0;
}

int decodePng(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits) {
    if (!isPng(data, size)) return SPI_NOT_SUPPORT;
    Decode d;
    if (!d.info) return SPI_NO_MEMORY;
    Reader reader{data, size, 0};
    int result = guardedRun(d, reader);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOver(d.dib, info, bits);
}
