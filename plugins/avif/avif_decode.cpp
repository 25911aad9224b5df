// avif_decode.cpp - libavif decoding into the DIB: straight into its rows when
// the picture is opaque and untransformed, through an RGB(A) copy otherwise.
#include "avif/avif_decode.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <thread>

#include <avif/avif.h>

#include "common/ftyp_brands.h"
#include "common/plugin_io.h"

namespace {

int codeOf(avifResult result) {
    switch (result) {
    case AVIF_RESULT_OK:
        return SPI_ALL_RIGHT;
    case AVIF_RESULT_OUT_OF_MEMORY:
        return SPI_NO_MEMORY;
    case AVIF_RESULT_INVALID_FTYP:
        return SPI_NOT_SUPPORT;
    case AVIF_RESULT_NO_CODEC_AVAILABLE:
        return SPI_OTHER_ERROR;
    default:
        return SPI_OUT_OF_ORDER;
    }
}

// Where the decoded pixel (x, y) lands after the rotation (quarter turns
// anticlockwise) and then the mirroring the file asks for.
struct Placement {
    int width = 0, height = 0; // of the decoded picture
    int quarterTurns = 0;
    int mirror = -1; // 0 exchanges top and bottom, 1 left and right

    int outWidth() const { return quarterTurns % 2 ? height : width; }
    int outHeight() const { return quarterTurns % 2 ? width : height; }
    void place(int x, int y, int& outX, int& outY) const {
        switch (quarterTurns) {
        case 1: outX = y, outY = width - 1 - x; break;
        case 2: outX = width - 1 - x, outY = height - 1 - y; break;
        case 3: outX = height - 1 - y, outY = x; break;
        default: outX = x, outY = y; break;
        }
        if (mirror == 0) outY = outHeight() - 1 - outY;
        if (mirror == 1) outX = outWidth() - 1 - outX;
    }
};

Placement placementOf(const avifImage* image) {
    Placement p;
    p.width = int(image->width);
    p.height = int(image->height);
    if (image->transformFlags & AVIF_TRANSFORM_IROT) p.quarterTurns = image->irot.angle & 3;
    if (image->transformFlags & AVIF_TRANSFORM_IMIR) p.mirror = image->imir.mode & 1;
    return p;
}

// The opaque, untransformed case: libavif writes B G R rows into the DIB.
int convertInPlace(const avifImage* image, spi::DibOutput& dib) {
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image);
    rgb.depth = 8;
    rgb.format = AVIF_RGB_FORMAT_BGR;
    rgb.pixels = dib.pixels;
    rgb.rowBytes = uint32_t(dib.stride);
    int result = codeOf(avifImageYUVToRGB(image, &rgb));
    if (result == SPI_ALL_RIGHT) spi::flipToBottomUp(dib, false);
    return result;
}

// Every other case: B G R A rows, each pixel moved to its place and its alpha
// composed over white.
int convertThroughCopy(const avifImage* image, const Placement& placement, spi::DibOutput& dib) {
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image);
    rgb.depth = 8;
    rgb.format = AVIF_RGB_FORMAT_BGRA;
    rgb.rowBytes = uint32_t(placement.width) * 4;
    // Our own buffer: libavif's allocator ends the process when memory runs out.
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[size_t(rgb.rowBytes) * size_t(placement.height)]);
    if (!pixels) return SPI_NO_MEMORY;
    rgb.pixels = pixels.get();
    int result = codeOf(avifImageYUVToRGB(image, &rgb));
    for (int y = 0; result == SPI_ALL_RIGHT && y < placement.height; ++y) {
        const unsigned char* in = rgb.pixels + size_t(y) * rgb.rowBytes;
        for (int x = 0; x < placement.width; ++x, in += 4) {
            int outX = 0, outY = 0;
            placement.place(x, y, outX, outY);
            unsigned char* out = dib.row(outY) + size_t(outX) * 3;
            for (int c = 0; c < 3; ++c) out[c] = spi::overWhite(in[c], in[3]);
        }
    }
    return result;
}

// What decoding takes beside the DIB, as the container describes the
// picture: the AV1 decoder's planes (and alpha plane), and the B G R A copy
// of a picture with alpha or a turn.
uint64_t workOf(const avifDecoder* decoder) {
    const avifImage* image = decoder->image;
    const uint64_t pixels = uint64_t(image->width) * image->height;
    const uint64_t sample = image->depth > 8 ? 2 : 1;
    uint64_t halfSamples = 6; // twice the samples a pixel has, 4:4:4
    if (image->yuvFormat == AVIF_PIXEL_FORMAT_YUV422) halfSamples = 4;
    if (image->yuvFormat == AVIF_PIXEL_FORMAT_YUV420) halfSamples = 3;
    if (image->yuvFormat == AVIF_PIXEL_FORMAT_YUV400) halfSamples = 2;
    if (decoder->alphaPresent) halfSamples += 2;
    const bool copy = decoder->alphaPresent || (image->transformFlags & (AVIF_TRANSFORM_IROT | AVIF_TRANSFORM_IMIR));
    return pixels * sample * halfSamples / 2 + (copy ? 4 * pixels : 0);
}

int decodeWith(avifDecoder* decoder, const unsigned char* data, size_t size, spi::DibOutput& dib) {
    decoder->maxThreads = int(std::max(1u, std::thread::hardware_concurrency()));
    decoder->strictFlags = AVIF_STRICT_DISABLED; // files that bend the rules still show
    decoder->ignoreExif = decoder->ignoreXMP = AVIF_TRUE;
    // Parsing refuses a file claiming more than these, and the AV1 decoder a
    // frame beyond them, before either allocates pixels. (libavif accepts no
    // size limit above the pixel cap, which is its own default.)
    decoder->imageSizeLimit = uint32_t(kMaxPicturePixels);
    decoder->imageDimensionLimit = uint32_t(spi::kMaxDibSide);
    int result = codeOf(avifDecoderSetIOMemory(decoder, data, size));
    if (result == SPI_ALL_RIGHT) result = codeOf(avifDecoderParse(decoder));
    if (result != SPI_ALL_RIGHT) return result;
    const avifImage* image = decoder->image;
    if (workOf(decoder) > spi::workBudget(size)) return SPI_NO_MEMORY;
    result = codeOf(avifDecoderNextImage(decoder));
    if (result != SPI_ALL_RIGHT) return result;
    // The frame may disagree with the container's size; the frame counts.
    if (spi::tooManyPixels(image->width, image->height)) return SPI_NO_MEMORY;
    Placement placement = placementOf(image);
    result = spi::createDib(placement.outWidth(), placement.outHeight(), 24, 0, dib);
    if (result != SPI_ALL_RIGHT) return result;
    bool copy = image->alphaPlane || placement.quarterTurns || placement.mirror >= 0;
    return copy ? convertThroughCopy(image, placement, dib) : convertInPlace(image, dib);
}

} // namespace

int isAvif(const unsigned char* head, size_t size) {
    static const char* const brands[] = {"avif", "avis"};
    return spi::ftypNamesBrand(head, size, brands, 2) ? 1 : 0;
}

int decodeAvif(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits) {
    if (!isAvif(data, size)) return SPI_NOT_SUPPORT;
    std::unique_ptr<avifDecoder, decltype(&avifDecoderDestroy)> decoder(avifDecoderCreate(), avifDecoderDestroy);
    if (!decoder) return SPI_NO_MEMORY;
    spi::DibOutput dib;
    int result = decodeWith(decoder.get(), data, size, dib);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOver(dib, info, bits);
}
