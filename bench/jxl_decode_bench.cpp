// jxl_decode_bench.cpp - a 2480 x 3508 page through jxl.spi against libjxl's
// own decode of it into R G B rows (the path of its djxl tool), with the
// same thread runner.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <stdexcept>

#include <jxl/decode.h>
#include <jxl/thread_parallel_runner.h>

#include "decode_comparison.h"
#include "sample_book/jxl_encoder.h"

namespace {

using namespace decode_comparison;

void libjxlDecode(const std::string& file) {
    JxlDecoder* decoder = JxlDecoderCreate(nullptr);
    void* runner = JxlThreadParallelRunnerCreate(nullptr, JxlThreadParallelRunnerDefaultNumWorkerThreads());
    JxlDecoderSetParallelRunner(decoder, JxlThreadParallelRunner, runner);
    JxlDecoderSubscribeEvents(decoder, JXL_DEC_FULL_IMAGE);
    JxlDecoderSetInput(decoder, reinterpret_cast<const uint8_t*>(file.data()), file.size());
    JxlDecoderCloseInput(decoder);
    JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    unsigned char* pixels = nullptr;
    for (bool done = false; !done;) {
        switch (JxlDecoderProcessInput(decoder)) {
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
            size_t size = 0;
            JxlDecoderImageOutBufferSize(decoder, &format, &size);
            pixels = static_cast<unsigned char*>(malloc(size));
            JxlDecoderSetImageOutBuffer(decoder, &format, pixels, size);
            break;
        }
        case JXL_DEC_FULL_IMAGE:
            done = true;
            break;
        default:
            throw std::runtime_error("libjxl failed");
        }
    }
    benchmark::DoNotOptimize(pixels[0]);
    free(pixels);
    JxlThreadParallelRunnerDestroy(runner);
    JxlDecoderDestroy(decoder);
}

void jxlDecode(benchmark::State& state) {
    static const std::string file = encoders::encodeJxl(page());
    compare(state, "jxl", file, libjxlDecode, "jxl_decode_vs_lib");
}

} // namespace

BENCHMARK(jxlDecode)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK_MAIN();
