// picture_encoders.cpp - thin wrappers over libjpeg, libpng, giflib, libwebp.
#include "sample_book/picture_encoders.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <webp/encode.h>

namespace encoders {

Picture makePattern(int width, int height, int channels, std::uint32_t seed) {
    Picture p{width, height, channels, {}};
    p.pixels.resize(size_t(width) * size_t(height) * size_t(channels));
    size_t at = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                p.pixels[at++] = std::uint8_t((x * (c + 1) + y * (3 - c % 3) + seed * 37 + ((x / 16 + y / 16) & 1) * 60) & 0xFF);
    return p;
}

std::string encodeJpeg(const Picture& picture, int quality, bool progressive) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = JDIMENSION(picture.width);
    cinfo.image_height = JDIMENSION(picture.height);
    cinfo.input_components = picture.channels;
    cinfo.in_color_space = picture.channels == 1 ? JCS_GRAYSCALE : picture.channels == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    size_t stride = size_t(picture.width) * size_t(picture.channels);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(picture.pixels.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<char*>(out), outSize);
    free(out);
    return bytes;
}

namespace {

void appendPng(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

// Writes a PNG whose rows are already in the file's layout.
std::string writePng(int width, int height, int bitDepth, int colourType, bool interlaced,
                     const std::vector<std::vector<std::uint8_t>>& rows,
                     const std::vector<std::uint8_t>& paletteRgb = {},
                     const std::vector<std::uint8_t>& alphas = {}) {
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(png, &bytes, appendPng, nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < paletteRgb.size(); i += 3)
        palette.push_back({paletteRgb[i], paletteRgb[i + 1], paletteRgb[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!alphas.empty()) png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
    std::vector<png_bytep> pointers;
    for (auto& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

} // namespace

std::string encodePng(const Picture& picture, int bitDepth, bool interlaced) {
    static const int types[] = {0, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                PNG_COLOR_TYPE_RGBA};
    size_t samples = size_t(picture.width) * size_t(picture.channels);
    std::vector<std::vector<std::uint8_t>> rows(size_t(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* in = picture.pixels.data() + size_t(y) * samples;
        if (bitDepth == 16) {
            for (size_t i = 0; i < samples; ++i) {
                rows[size_t(y)].push_back(in[i]);
                rows[size_t(y)].push_back(std::uint8_t(in[i] ^ 0x5A)); // low byte, dropped on reading
            }
        } else {
            rows[size_t(y)].assign(in, in + samples);
        }
    }
    return writePng(picture.width, picture.height, bitDepth, types[picture.channels], interlaced, rows);
}

std::string encodePalettePng(int width, int height, const std::vector<std::uint8_t>& indices,
                             const std::vector<std::uint8_t>& paletteRgb, int bitDepth,
                             const std::vector<std::uint8_t>& alphas) {
    std::vector<std::vector<std::uint8_t>> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        auto& row = rows[size_t(y)];
        row.assign((size_t(width) * size_t(bitDepth) + 7) / 8, 0);
        for (int x = 0; x < width; ++x) {
            size_t bit = size_t(x) * size_t(bitDepth);
            int shift = 8 - bitDepth - int(bit % 8);
            row[bit / 8] |= std::uint8_t((indices[size_t(y) * size_t(width) + size_t(x)] & ((1 << bitDepth) - 1)) << shift);
        }
    }
    return writePng(width, height, bitDepth, PNG_COLOR_TYPE_PALETTE, false, rows, paletteRgb, alphas);
}

namespace {
int appendGif(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(length));
    return length;
}
} // namespace

std::string encodeGif(int width, int height, const std::vector<std::uint8_t>& indices,
                      const std::vector<std::uint8_t>& paletteRgb, int transparent, bool interlaced) {
    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendGif, &error);
    int colours = 2;
    while (colours * 3 < int(paletteRgb.size()) && colours < 256) colours *= 2;
    ColorMapObject* map = GifMakeMapObject(colours, nullptr);
    for (int i = 0; i < colours && i * 3 + 2 < int(paletteRgb.size()); ++i)
        map->Colors[i] = {paletteRgb[size_t(i) * 3], paletteRgb[size_t(i) * 3 + 1], paletteRgb[size_t(i) * 3 + 2]};
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    if (transparent >= 0) {
        GifByteType control[4] = {1, 0, 0, GifByteType(transparent)};
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
    }
    EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr);
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    auto putRow = [&](int y) {
        std::memcpy(line.data(), indices.data() + size_t(y) * size_t(width), size_t(width));
        EGifPutLine(gif, line.data(), width);
    };
    if (interlaced) {
        const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < height; y += step[pass]) putRow(y);
    } else {
        for (int y = 0; y < height; ++y) putRow(y);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

std::string encodeWebp(const Picture& picture, bool lossless, float quality) {
    uint8_t* out = nullptr;
    size_t size = 0;
    int stride = picture.width * picture.channels;
    const uint8_t* in = picture.pixels.data();
    if (picture.channels == 4)
        size = lossless ? WebPEncodeLosslessRGBA(in, picture.width, picture.height, stride, &out)
                        : WebPEncodeRGBA(in, picture.width, picture.height, stride, quality, &out);
    else
        size = lossless ? WebPEncodeLosslessRGB(in, picture.width, picture.height, stride, &out)
                        : WebPEncodeRGB(in, picture.width, picture.height, stride, quality, &out);
    std::string bytes(reinterpret_cast<char*>(out), size);
    WebPFree(out);
    return bytes;
}

std::string encodeBmp(const Picture& picture) {
    size_t stride = (size_t(picture.width) * 3 + 3) / 4 * 4;
    size_t pixelBytes = stride * size_t(picture.height);
    std::string bytes(54 + pixelBytes, '\0');
    auto put = [&](size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes[at + size_t(i)] = char(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, std::uint32_t(bytes.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, std::uint32_t(picture.width), 4);
    put(22, std::uint32_t(picture.height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, std::uint32_t(pixelBytes), 4);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* in = picture.pixels.data() + size_t(y) * size_t(picture.width) * 3;
        char* out = &bytes[54 + size_t(picture.height - 1 - y) * stride];
        for (int x = 0; x < picture.width; ++x, in += 3, out += 3) {
            out[0] = char(in[2]);
            out[1] = char(in[1]);
            out[2] = char(in[0]);
        }
    }
    return bytes;
}

} // namespace encoders
