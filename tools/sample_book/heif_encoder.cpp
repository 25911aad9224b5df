// heif_encoder.cpp - libheif's HEVC encoder over 8-bit pictures.
#include "sample_book/heif_encoder.h"

#include <memory>
#include <stdexcept>

#include <libheif/heif.h>

// x265, which libheif encodes HEVC with, keeps a few blocks of its own until
// the process ends; the leak checker of the sanitizer builds is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libx265.so\n"; }

namespace encoders {

namespace {

void check(heif_error error, const char* what) {
    if (error.code != heif_error_Ok) throw std::runtime_error(std::string("HEIF encoding: ") + what + ": " + error.message);
}

heif_error append(heif_context*, const void* data, size_t size, void* target) {
    static_cast<std::string*>(target)->append(static_cast<const char*>(data), size);
    return {heif_error_Ok, heif_suberror_Unspecified, "Success"};
}

// One plane holding channel `c` of every pixel (as v * 4 when `depth` is 10).
void fillPlane(heif_image* image, heif_channel channel, const Picture& picture, int c, int depth) {
    check(heif_image_add_plane(image, channel, picture.width, picture.height, depth), "plane");
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, channel, &stride);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            std::uint8_t v = picture.pixels[(size_t(y) * size_t(picture.width) + size_t(x)) * size_t(picture.channels) + size_t(c)];
            if (depth == 8) {
                plane[size_t(y) * size_t(stride) + size_t(x)] = v;
            } else {
                auto* wide = reinterpret_cast<std::uint16_t*>(plane + size_t(y) * size_t(stride));
                wide[x] = std::uint16_t(v * 4);
            }
        }
}

} // namespace

std::string encodeHeif(const Picture& picture, const HeifOptions& options) {
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(), heif_context_free);
    heif_encoder* rawEncoder = nullptr;
    check(heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder), "encoder");
    std::unique_ptr<heif_encoder, decltype(&heif_encoder_release)> encoder(rawEncoder, heif_encoder_release);
    heif_encoder_set_logging_level(encoder.get(), 0);

    const bool alpha = picture.channels == 4;
    heif_image* rawImage = nullptr;
    std::unique_ptr<heif_color_profile_nclx, decltype(&heif_nclx_color_profile_free)> nclx(
        heif_nclx_color_profile_alloc(), heif_nclx_color_profile_free);
    nclx->full_range_flag = 1;
    if (options.lossless) {
        // The planes hold G, B and R as they are, so no conversion rounds them.
        check(heif_encoder_set_parameter_string(encoder.get(), "chroma", "444"), "chroma");
        check(heif_encoder_set_lossless(encoder.get(), 1), "lossless");
        nclx->matrix_coefficients = heif_matrix_coefficients_RGB_GBR;
    } else {
        check(heif_encoder_set_lossy_quality(encoder.get(), options.quality), "quality");
    }
    check(heif_image_create(picture.width, picture.height, heif_colorspace_YCbCr, heif_chroma_444, &rawImage), "image");
    std::unique_ptr<heif_image, decltype(&heif_image_release)> image(rawImage, heif_image_release);
    if (options.lossless) {
        fillPlane(image.get(), heif_channel_Y, picture, 1, options.depth);
        fillPlane(image.get(), heif_channel_Cb, picture, 2, options.depth);
        fillPlane(image.get(), heif_channel_Cr, picture, 0, options.depth);
    } else {
        // BT.601 full range, as the default profile declares.
        nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
        Picture yuv = picture;
        for (size_t i = 0; i < size_t(picture.width) * size_t(picture.height); ++i) {
            const std::uint8_t* p = &picture.pixels[i * size_t(picture.channels)];
            double r = p[0], g = p[1], b = p[2];
            double y = 0.299 * r + 0.587 * g + 0.114 * b;
            auto clamp = [](double v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
            yuv.pixels[i * size_t(picture.channels)] = clamp(y);
            yuv.pixels[i * size_t(picture.channels) + 1] = clamp((b - y) / 1.772 + 128);
            yuv.pixels[i * size_t(picture.channels) + 2] = clamp((r - y) / 1.402 + 128);
        }
        fillPlane(image.get(), heif_channel_Y, yuv, 0, options.depth);
        fillPlane(image.get(), heif_channel_Cb, yuv, 1, options.depth);
        fillPlane(image.get(), heif_channel_Cr, yuv, 2, options.depth);
    }
    if (alpha) fillPlane(image.get(), heif_channel_Alpha, picture, 3, options.depth);
    check(heif_image_set_nclx_color_profile(image.get(), nclx.get()), "colour profile");

    std::unique_ptr<heif_encoding_options, decltype(&heif_encoding_options_free)> encoding(
        heif_encoding_options_alloc(), heif_encoding_options_free);
    encoding->output_nclx_profile = nclx.get();
    check(heif_context_encode_image(context.get(), image.get(), encoder.get(), encoding.get(), nullptr), "encode");
    std::string bytes;
    heif_writer writer{1, append};
    check(heif_context_write(context.get(), &writer, &bytes), "write");
    return bytes;
}

} // namespace encoders
