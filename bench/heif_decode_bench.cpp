// heif_decode_bench.cpp - a 2480 x 3508 page through heif.spi against
// libheif's own decode of it to interleaved R G B (the path of its
// heif-convert tool).
#include <benchmark/benchmark.h>

#include <stdexcept>

#include <libheif/heif.h>

#include "decode_comparison.h"
#include "sample_book/heif_encoder.h"

namespace {

using namespace decode_comparison;

void libheifDecode(const std::string& file) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    if (heif_context_read_from_memory_without_copy(context, file.data(), file.size(), nullptr).code != heif_error_Ok ||
        heif_context_get_primary_image_handle(context, &handle).code != heif_error_Ok ||
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr).code !=
            heif_error_Ok)
        throw std::runtime_error("libheif failed");
    int stride = 0;
    benchmark::DoNotOptimize(heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride)[0]);
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
}

void heifDecode(benchmark::State& state) {
    static const std::string file = [] {
        encoders::HeifOptions options;
        options.quality = 60;
        return encoders::encodeHeif(page(), options);
    }();
    compare(state, "heif", file, libheifDecode, "heif_decode_vs_lib");
}

} // namespace

BENCHMARK(heifDecode)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK_MAIN();
