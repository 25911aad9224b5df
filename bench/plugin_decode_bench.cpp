// plugin_decode_bench.cpp - decoding a 2480 x 3508 page through jpeg.spi and
// png.spi against the library's own decode into the same bottom-up BGR rows.
// Both run in each iteration, so the ratio compares like with like.
#include <benchmark/benchmark.h>

#include <chrono>
#include <csetjmp>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "platform/shared_library.h"
#include "sample_book/page_art.h"
#include "sample_book/picture_encoders.h"
#include "susie_plugin.h"

namespace {

constexpr int kWidth = 2480, kHeight = 3508;

// A scanned-looking page: the sample book's art with a fine pattern over it,
// so the encoders have detail to keep.
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

struct PngReader {
    const std::string* file;
    size_t at;
};

void libpngDecode(const std::string& file) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    PngReader reader{&file, 0};
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t n) {
        auto* r = static_cast<PngReader*>(png_get_io_ptr(p));
        std::memcpy(out, r->file->data() + r->at, n);
        r->at += n;
    });
    png_read_info(png, info);
    png_set_bgr(png);
    png_read_update_info(png, info);
    size_t stride = bgrStride();
    auto* pixels = static_cast<unsigned char*>(calloc(1, stride * kHeight));
    std::vector<png_bytep> rows(kHeight);
    for (int y = 0; y < kHeight; ++y) rows[size_t(y)] = pixels + size_t(kHeight - 1 - y) * stride;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels[0]);
    free(pixels);
}

struct Plugin {
    platform::LibraryHandle library;
    SpiGetPicture getPicture;
    explicit Plugin(const char* name) {
        library = platform::loadLibrary(std::string(VOXA_PLUGIN_DIR) + "/" + name + ".spi");
        getPicture = reinterpret_cast<SpiGetPicture>(platform::findFunction(library, "GetPicture"));
        if (!getPicture) throw std::runtime_error(std::string("cannot load ") + name + ".spi");
    }
    ~Plugin() { platform::freeLibrary(library); }
    void decode(const std::string& file) const {
        SpiHandle info = nullptr, bits = nullptr;
        if (getPicture(file.data(), long(file.size()), SPI_INPUT_MEMORY, &info, &bits, nullptr, 0) != SPI_ALL_RIGHT)
            throw std::runtime_error("decoding failed");
        spiFree(info);
        spiFree(bits);
    }
};

template <typename Baseline>
void compare(benchmark::State& state, const char* plugin, const std::string& file, Baseline baseline,
             const char* counter) {
    Plugin spi(plugin);
    using Clock = std::chrono::steady_clock;
    Clock::duration throughPlugin{}, throughLibrary{};
    bool pluginFirst = false;
    for (auto _ : state) {
        // Alternating the order keeps caches and frequency from favouring one side.
        for (int side = 0; side < 2; ++side) {
            auto start = Clock::now();
            if ((side == 0) == pluginFirst) {
                spi.decode(file);
                throughPlugin += Clock::now() - start;
            } else {
                baseline(file);
                throughLibrary += Clock::now() - start;
            }
        }
        pluginFirst = !pluginFirst;
    }
    state.counters[counter] = double(throughPlugin.count()) / double(throughLibrary.count());
}

void jpegDecode(benchmark::State& state) {
    static const std::string file = encoders::encodeJpeg(page(), 90);
    compare(state, "jpeg", file, libjpegDecode, "jpeg_decode_vs_libjpeg");
}

void pngDecode(benchmark::State& state) {
    static const std::string file = encoders::encodePng(page());
    compare(state, "png", file, libpngDecode, "png_decode_vs_libpng");
}

} // namespace

BENCHMARK(jpegDecode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(pngDecode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
