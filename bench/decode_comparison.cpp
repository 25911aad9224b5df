// decode_comparison.cpp - the shared page, plug-in loading and libjpeg decode.
#include "decode_comparison.h"

#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

#include "sample_book/page_art.h"

namespace decode_comparison {

const encoders::Picture& page() {
    static encoders::Picture picture = [] {
        encoders::Picture p = sample_book::drawPage(kWidth, kHeight, 42);
        encoders::Picture noise = encoders::makePattern(kWidth, kHeight, 3, 7);
        for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = std::uint8_t((p.pixels[i] * 3 + noise.pixels[i]) / 4);
        return p;
    }();
    return picture;
}

size_t bgrStride() { return (size_t(kWidth) * 3 + 3) / 4 * 4; }

void libjpegDecode(const std::string& file) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(file.data()), (unsigned long)file.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    size_t stride = bgrStride();
    auto* pixels = static_cast<unsigned char*>(calloc(1, stride * cinfo.output_height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels + (cinfo.output_height - 1 - cinfo.output_scanline) * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels[0]);
    free(pixels);
}

Plugin::Plugin(const char* name) {
    library = platform::loadLibrary(std::string(VOXA_PLUGIN_DIR) + "/" + name + ".spi");
    getPicture = reinterpret_cast<SpiGetPicture>(platform::findFunction(library, "GetPicture"));
    if (!getPicture) throw std::runtime_error(std::string("cannot load ") + name + ".spi");
}

Plugin::~Plugin() { platform::freeLibrary(library); }

void Plugin::decode(const std::string& file) const {
    SpiHandle info = nullptr, bits = nullptr;
    if (getPicture(file.data(), long(file.size()), SPI_INPUT_MEMORY, &info, &bits, nullptr, 0) != SPI_ALL_RIGHT)
        throw std::runtime_error("decoding failed");
    spiFree(info);
    spiFree(bits);
}

} // namespace decode_comparison
