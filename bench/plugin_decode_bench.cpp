// plugin_decode_bench.cpp - decoding a 2480 x 3508 page through jpeg.spi and
// png.spi against the library's own decode into the same bottom-up BGR rows.
// Both run in each iteration, so the ratio compares like with like.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include <png.h>

#include "decode_comparison.h"

namespace {

using namespace decode_comparison;

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
