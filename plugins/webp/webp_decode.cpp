// webp_decode.cpp - libwebp decoding flipped, straight into the DIB rows.
#include "webp/webp_decode.h"

#include <cstring>
#include <vector>

#include <webp/decode.h>

#include "common/plugin_io.h"

namespace {

int decodeInto(const unsigned char* data, size_t size, spi::DibOutput& dib, bool alpha) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return SPI_OTHER_ERROR;
    std::vector<unsigned char> bgra;
    config.output.is_external_memory = 1;
    if (alpha) {
        // Premultiplied, so composing over white is one addition per channel.
        bgra.resize(size_t(dib.width) * 4 * size_t(dib.height));
        config.output.colorspace = MODE_bgrA;
        config.output.u.RGBA.rgba = bgra.data();
        config.output.u.RGBA.stride = dib.width * 4;
        config.output.u.RGBA.size = bgra.size();
    } else {
        config.options.flip = 1; // bottom-up, as the DIB wants
        config.output.colorspace = MODE_BGR;
        config.output.u.RGBA.rgba = dib.pixels;
        config.output.u.RGBA.stride = int(dib.stride);
        config.output.u.RGBA.size = dib.stride * size_t(dib.height);
    }
    VP8StatusCode status = WebPDecode(data, size, &config);
    WebPFreeDecBuffer(&config.output);
    if (status == VP8_STATUS_OUT_OF_MEMORY) return SPI_NO_MEMORY;
    if (status != VP8_STATUS_OK) return SPI_OUT_OF_ORDER;
    if (alpha) {
        for (int y = 0; y < dib.height; ++y) {
            const unsigned char* in = bgra.data() + size_t(y) * size_t(dib.width) * 4;
            unsigned char* out = dib.row(y);
            for (int x = 0; x < dib.width; ++x, in += 4, out += 3)
                for (int c = 0; c < 3; ++c) out[c] = (unsigned char)(in[c] + 255 - in[3]);
        }
    }
    return SPI_ALL_RIGHT;
}

} // namespace

int isWebp(const unsigned char* head, size_t size) {
    return size >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0;
}

int decodeWebp(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits) {
    if (!isWebp(data, size)) return SPI_NOT_SUPPORT;
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK) return SPI_OUT_OF_ORDER;
    if (features.has_animation) return SPI_NOT_SUPPORT;
    // Besides the DIB, libwebp keeps a lossless picture whole at 4 bytes a
    // pixel, and a picture with alpha is decoded whole at 4 bytes a pixel
    // before it is composed over white: refused while nothing is allocated
    // when that would pass what the input leaves.
    const uint64_t pixels = uint64_t(features.width) * uint64_t(features.height);
    const uint64_t work = (features.format == 2 ? 4 * pixels : 0) + (features.has_alpha ? 4 * pixels : 0);
    if (work > spi::workBudget(size)) return SPI_NO_MEMORY;
    spi::DibOutput dib;
    int result = spi::createDib(features.width, features.height, 24, 0, dib);
    if (result == SPI_ALL_RIGHT) result = decodeInto(data, size, dib, features.has_alpha != 0);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOver(dib, info, bits);
}
