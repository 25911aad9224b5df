// jxl_decode.cpp - libjxl's event loop, writing opaque pictures straight into
// the DIB's rows and pictures with alpha through an RGBA copy.
#include "jxl/jxl_decode.h"

#include <cstring>
#include <memory>
#include <vector>

#include <jxl/decode.h>
#include <jxl/thread_parallel_runner.h>

#include "common/plugin_io.h"

namespace {

struct Decode {
    JxlDecoder* decoder = nullptr;
    JxlBasicInfo basic{};
    bool alpha = false;
    spi::DibOutput dib;
    std::vector<unsigned char> rgba; // pictures with alpha, top-down
};

// The picture as shown: orientations 5 to 8 exchange width and height.
// Besides the DIB, libjxl keeps the whole frame at 4 bytes a sample of each
// channel, and a picture with alpha is decoded whole at 4 bytes a pixel before
// it is composed over white: refused when that passes what the input leaves.
int prepareOutput(Decode& d, size_t inputSize) {
    uint32_t width = d.basic.xsize, height = d.basic.ysize;
    if (d.basic.orientation >= JXL_ORIENT_TRANSPOSE) std::swap(width, height);
    if (spi::tooManyPixels(width, height)) return SPI_NO_MEMORY;
    d.alpha = d.basic.alpha_bits > 0;
    const uint64_t pixels = uint64_t(width) * height;
    const uint64_t work = 4 * pixels * (d.basic.num_color_channels + d.basic.num_extra_channels) + (d.alpha ? 4 * pixels : 0);
    if (work > spi::workBudget(inputSize)) return SPI_NO_MEMORY;
    return spi::createDib(int(width), int(height), 24, 0, d.dib);
}

bool isSrgb(const JxlColorEncoding& e) {
    return e.white_point == JXL_WHITE_POINT_D65 && e.transfer_function == JXL_TRANSFER_FUNCTION_SRGB &&
           (e.color_space == JXL_COLOR_SPACE_GRAY ||
            (e.color_space == JXL_COLOR_SPACE_RGB && e.primaries == JXL_PRIMARIES_SRGB));
}

// Pictures stored in the codec's own colour space (XYB) are asked for in
// sRGB, which the library converts them to; those whose original space is
// sRGB come out so anyway, and asking would only slow the decoder down. The
// others keep their stored colour space: the library cannot convert them.
void preferSrgb(Decode& d) {
    if (d.basic.uses_original_profile) return;
    JxlColorEncoding original{};
    if (JxlDecoderGetColorAsEncodedProfile(d.decoder, nullptr, JXL_COLOR_PROFILE_TARGET_ORIGINAL, &original) ==
            JXL_DEC_SUCCESS &&
        isSrgb(original))
        return;
    JxlColorEncoding srgb{};
    srgb.color_space = d.basic.num_color_channels == 1 ? JXL_COLOR_SPACE_GRAY : JXL_COLOR_SPACE_RGB;
    srgb.white_point = JXL_WHITE_POINT_D65;
    srgb.primaries = JXL_PRIMARIES_SRGB;
    srgb.transfer_function = JXL_TRANSFER_FUNCTION_SRGB;
    srgb.rendering_intent = JXL_RENDERING_INTENT_PERCEPTUAL;
    JxlDecoderSetPreferredColorProfile(d.decoder, &srgb);
}

int setOutputBuffer(Decode& d) {
    JxlPixelFormat format{d.alpha ? 4u : 3u, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, size_t(d.alpha ? 0 : 4)};
    size_t needed = 0;
    if (JxlDecoderImageOutBufferSize(d.decoder, &format, &needed) != JXL_DEC_SUCCESS) return SPI_OUT_OF_ORDER;
    void* target = d.dib.pixels;
    size_t capacity = d.dib.stride * size_t(d.dib.height);
    if (d.alpha) {
        d.rgba.resize(size_t(d.dib.width) * size_t(d.dib.height) * 4);
        target = d.rgba.data();
        capacity = d.rgba.size();
    }
    if (needed > capacity) return SPI_OUT_OF_ORDER;
    return JxlDecoderSetImageOutBuffer(d.decoder, &format, target, capacity) == JXL_DEC_SUCCESS ? SPI_ALL_RIGHT
                                                                                                  : SPI_OUT_OF_ORDER;
}

void finish(Decode& d) {
    if (!d.alpha) {
        spi::flipToBottomUp(d.dib, true);
        return;
    }
    for (int y = 0; y < d.dib.height; ++y) {
        const unsigned char* in = d.rgba.data() + size_t(y) * size_t(d.dib.width) * 4;
        unsigned char* out = d.dib.row(y);
        for (int x = 0; x < d.dib.width; ++x, in += 4, out += 3) {
            out[0] = spi::overWhite(in[2], in[3]);
            out[1] = spi::overWhite(in[1], in[3]);
            out[2] = spi::overWhite(in[0], in[3]);
        }
    }
}

int run(Decode& d, const unsigned char* data, size_t size) {
    if (JxlDecoderSubscribeEvents(d.decoder, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING | JXL_DEC_FULL_IMAGE) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(d.decoder, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(d.decoder, data, size) != JXL_DEC_SUCCESS)
        return SPI_OTHER_ERROR;
    JxlDecoderCloseInput(d.decoder);
    for (;;) {
        int result = SPI_ALL_RIGHT;
        switch (JxlDecoderProcessInput(d.decoder)) {
        case JXL_DEC_BASIC_INFO:
            if (JxlDecoderGetBasicInfo(d.decoder, &d.basic) != JXL_DEC_SUCCESS) return SPI_OUT_OF_ORDER;
            result = prepareOutput(d, size);
            break;
        case JXL_DEC_COLOR_ENCODING:
            preferSrgb(d);
            break;
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER:
            result = setOutputBuffer(d);
            break;
        case JXL_DEC_FULL_IMAGE: // the first frame is the picture
            finish(d);
            return SPI_ALL_RIGHT;
        default: // an error, truncated input, or no frame at all
            return SPI_OUT_OF_ORDER;
        }
        if (result != SPI_ALL_RIGHT) return result;
    }
}

} // namespace

int isJxl(const unsigned char* head, size_t size) {
    static const unsigned char container[] = {0, 0, 0, 0x0C, 'J', 'X', 'L', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    if (size >= 2 && head[0] == 0xFF && head[1] == 0x0A) return 1;
    return size >= sizeof container && std::memcmp(head, container, sizeof container) == 0 ? 1 : 0;
}

int decodeJxl(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits) {
    if (!isJxl(data, size)) return SPI_NOT_SUPPORT;
    std::unique_ptr<JxlDecoder, decltype(&JxlDecoderDestroy)> decoder(JxlDecoderCreate(nullptr), JxlDecoderDestroy);
    std::unique_ptr<void, decltype(&JxlThreadParallelRunnerDestroy)> runner(
        JxlThreadParallelRunnerCreate(nullptr, JxlThreadParallelRunnerDefaultNumWorkerThreads()),
        JxlThreadParallelRunnerDestroy);
    if (!decoder || !runner) return SPI_NO_MEMORY;
    if (JxlDecoderSetParallelRunner(decoder.get(), JxlThreadParallelRunner, runner.get()) != JXL_DEC_SUCCESS)
        return SPI_OTHER_ERROR;
    Decode d;
    d.decoder = decoder.get();
    int result = run(d, data, size);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOver(d.dib, info, bits);
}
