// avif_encoder.cpp - libavif's encoder over 8-bit pictures.
#include "sample_book/avif_encoder.h"

#include <stdexcept>
#include <vector>

#include <avif/avif.h>

namespace encoders {

std::string encodeAvif(const Picture& picture, const AvifOptions& options) {
    const bool grey = picture.channels == 1;
    avifImage* image = avifImageCreate(uint32_t(picture.width), uint32_t(picture.height), uint32_t(options.depth),
                                       grey ? AVIF_PIXEL_FORMAT_YUV400
                                       : options.lossless ? AVIF_PIXEL_FORMAT_YUV444
                                                          : AVIF_PIXEL_FORMAT_YUV420);
    image->yuvRange = AVIF_RANGE_FULL;
    // The identity matrix keeps RGB exact; AV1 allows it with 4:4:4 only.
    if (options.lossless && !grey) image->matrixCoefficients = AVIF_MATRIX_COEFFICIENTS_IDENTITY;
    if (options.rotation) {
        image->transformFlags |= AVIF_TRANSFORM_IROT;
        image->irot.angle = uint8_t(options.rotation);
    }
    if (options.mirror >= 0) {
        image->transformFlags |= AVIF_TRANSFORM_IMIR;
        image->imir.mode = uint8_t(options.mirror);
    }

    // libavif reads RGB; grey pictures are spread to three equal channels.
    std::vector<std::uint8_t> rgbPixels;
    const int channels = picture.channels == 4 ? 4 : 3;
    for (size_t i = 0; i < size_t(picture.width) * size_t(picture.height); ++i)
        for (int c = 0; c < channels; ++c)
            rgbPixels.push_back(picture.pixels[i * size_t(picture.channels) + (grey ? 0 : size_t(c))]);
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image);
    rgb.depth = 8;
    rgb.format = channels == 4 ? AVIF_RGB_FORMAT_RGBA : AVIF_RGB_FORMAT_RGB;
    rgb.pixels = rgbPixels.data();
    rgb.rowBytes = uint32_t(picture.width * channels);
    avifResult result = avifImageRGBToYUV(image, &rgb);

    avifEncoder* encoder = avifEncoderCreate();
    encoder->speed = AVIF_SPEED_FASTEST;
    int quantizer = options.lossless ? AVIF_QUANTIZER_LOSSLESS : (100 - options.quality) * 63 / 100;
    encoder->minQuantizer = encoder->maxQuantizer = quantizer;
    encoder->minQuantizerAlpha = encoder->maxQuantizerAlpha = options.lossless ? AVIF_QUANTIZER_LOSSLESS : quantizer;
    avifRWData output = AVIF_DATA_EMPTY;
    if (result == AVIF_RESULT_OK) result = avifEncoderWrite(encoder, image, &output);
    std::string bytes(reinterpret_cast<const char*>(output.data), output.size);
    avifRWDataFree(&output);
    avifEncoderDestroy(encoder);
    avifImageDestroy(image);
    if (result != AVIF_RESULT_OK) throw std::runtime_error(std::string("AVIF encoding: ") + avifResultToString(result));
    return bytes;
}

} // namespace encoders
