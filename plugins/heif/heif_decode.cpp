// heif_decode.cpp - libheif decoding to interleaved RGB(A), copied into the
// DIB's rows bottom-up in B G R order.
#include "heif/heif_decode.h"

#include <algorithm>
#include <memory>

#include <libheif/heif.h>

#include "common/ftyp_brands.h"
#include "common/plugin_io.h"
#include "heif/derived_canvas.h"

namespace {

int codeOf(const heif_error& error) {
    if (error.code == heif_error_Ok) return SPI_ALL_RIGHT;
    if (error.code == heif_error_Memory_allocation_error || error.subcode == heif_suberror_Security_limit_exceeded)
        return SPI_NO_MEMORY;
    if (error.code == heif_error_Unsupported_filetype) return SPI_NOT_SUPPORT;
    return SPI_OUT_OF_ORDER;
}

using Context = std::unique_ptr<heif_context, decltype(&heif_context_free)>;
using Handle = std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)>;
using Image = std::unique_ptr<heif_image, decltype(&heif_image_release)>;
using Options = std::unique_ptr<heif_decoding_options, decltype(&heif_decoding_options_free)>;

void copyRows(const heif_image* image, bool alpha, bool premultiplied, spi::DibOutput& dib) {
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < dib.height; ++y) {
        const uint8_t* in = plane + size_t(y) * size_t(stride);
        unsigned char* out = dib.row(y);
        if (!alpha) {
            spi::copySwappingRedBlue(in, out, size_t(dib.width));
            continue;
        }
        for (int x = 0; x < dib.width; ++x, in += 4, out += 3) {
            if (premultiplied) {
                for (int c = 0; c < 3; ++c) out[c] = (unsigned char)std::min(255, in[2 - c] + 255 - in[3]);
            } else {
                for (int c = 0; c < 3; ++c) out[c] = spi::overWhite(in[2 - c], in[3]);
            }
        }
    }
}

int decodeInto(const unsigned char* data, size_t size, spi::DibOutput& dib) {
    Context context(heif_context_alloc(), heif_context_free);
    if (!context) return SPI_NO_MEMORY;
    // Pictures wider or taller than a DIB may be are refused while reading.
    heif_context_set_maximum_image_size_limit(context.get(), spi::kMaxDibSide);
    int result = codeOf(heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr));
    if (result != SPI_ALL_RIGHT) return result;
    heif_image_handle* rawHandle = nullptr;
    result = codeOf(heif_context_get_primary_image_handle(context.get(), &rawHandle));
    if (result != SPI_ALL_RIGHT) return result;
    Handle handle(rawHandle, heif_image_handle_release);
    int width = heif_image_handle_get_width(handle.get()), height = heif_image_handle_get_height(handle.get());
    if (width <= 0 || height <= 0) return SPI_OUT_OF_ORDER;
    if (spi::tooManyPixels(uint64_t(width), uint64_t(height))) return SPI_NO_MEMORY;
    // A grid or an overlay is decoded onto the canvas its own data declares,
    // whatever its header says.
    uint64_t pixels = uint64_t(width) * uint64_t(height);
    uint32_t canvasWidth = 0, canvasHeight = 0;
    if (largestDerivedCanvas(data, size, canvasWidth, canvasHeight)) {
        if (spi::tooManyPixels(canvasWidth, canvasHeight)) return SPI_NO_MEMORY;
        pixels = std::max(pixels, uint64_t(canvasWidth) * canvasHeight);
    }

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    // Besides the DIB, the HEVC decoder's planes (taken at full chroma, deep
    // samples at 2 bytes) and libheif's interleaved 8-bit copy of them.
    const uint64_t sample = heif_image_handle_get_luma_bits_per_pixel(handle.get()) > 8 ? 2 : 1;
    const uint64_t work = pixels * sample * (alpha ? 4 : 3) + pixels * (alpha ? 4 : 3);
    if (work > spi::workBudget(size)) return SPI_NO_MEMORY;
    Options options(heif_decoding_options_alloc(), heif_decoding_options_free);
    if (!options) return SPI_NO_MEMORY;
    options->convert_hdr_to_8bit = 1;
    heif_image* rawImage = nullptr;
    result = codeOf(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                                      alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                                      options.get()));
    if (result != SPI_ALL_RIGHT) return result;
    Image image(rawImage, heif_image_release);
    if (heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) return SPI_OUT_OF_ORDER;
    result = spi::createDib(heif_image_get_width(image.get(), heif_channel_interleaved),
                            heif_image_get_height(image.get(), heif_channel_interleaved), 24, 0, dib);
    if (result != SPI_ALL_RIGHT) return result;
    copyRows(image.get(), alpha, heif_image_handle_is_premultiplied_alpha(handle.get()) != 0, dib);
    return SPI_ALL_RIGHT;
}

} // namespace

int isHeif(const unsigned char* head, size_t size) {
    static const char* const avif[] = {"avif", "avis"};
    static const char* const heif[] = {"heic", "heix", "heim", "heis", "hevc", "hevx", "hevm", "hevs", "mif1", "msf1"};
    if (spi::ftypNamesBrand(head, size, avif, 2)) return 0;
    return spi::ftypNamesBrand(head, size, heif, sizeof heif / sizeof *heif) ? 1 : 0;
}

int decodeHeif(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits) {
    if (!isHeif(data, size)) return SPI_NOT_SUPPORT;
    spi::DibOutput dib;
    int result = decodeInto(data, size, dib);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOver(dib, info, bits);
}
