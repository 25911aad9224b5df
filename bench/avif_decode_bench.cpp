// avif_decode_bench.cpp - a 2480 x 3508 page through avif.spi against
// libavif's own decode of it into B G R rows (the path of its avifdec tool),
// with the same number of threads.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

#include <avif/avif.h>

#include "decode_comparison.h"
#include "sample_book/avif_encoder.h"

namespace {

using namespace decode_comparison;

void libavifDecode(const std::string& file) {
    avifDecoder* decoder = avifDecoderCreate();
    decoder->maxThreads = int(std::max(1u, std::thread::hardware_concurrency()));
    avifImage* image = avifImageCreateEmpty();
    if (avifDecoderReadMemory(decoder, image, reinterpret_cast<const uint8_t*>(file.data()), file.size()) !=
        AVIF_RESULT_OK)
        throw std::runtime_error("libavif failed");
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image);
    rgb.format = AVIF_RGB_FORMAT_BGR;
    rgb.depth = 8;
    avifRGBImageAllocatePixels(&rgb);
    avifImageYUVToRGB(image, &rgb);
    benchmark::DoNotOptimize(rgb.pixels[0]);
    avifRGBImageFreePixels(&rgb);
    avifImageDestroy(image);
    avifDecoderDestroy(decoder);
}

void avifDecode(benchmark::State& state) {
    static const std::string file = [] {
        encoders::AvifOptions options;
        options.quality = 60;
        return encoders::encodeAvif(page(), options);
    }();
    compare(state, "avif", file, libavifDecode, "avif_decode_vs_lib");
}

} // namespace

BENCHMARK(avifDecode)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK_MAIN();
