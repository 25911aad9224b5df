// picture_bench.cpp - the scaling engines, the 24-bit conversion and the
// filters on a 2480 x 3508 page, each as a ratio to a libjpeg decode of the
// same page run in the same iteration.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "picture/filters.h"
#include "picture/picture_buffer.h"
#include "picture/scaling.h"
#include "sample_book/page_art.h"
#include "sample_book/picture_encoders.h"

namespace {

constexpr int kWidth = 2480, kHeight = 3508;
using Clock = std::chrono::steady_clock;

const encoders::Picture& page() {
    static const encoders::Picture picture = sample_book::drawPage(kWidth, kHeight, 7);
    return picture;
}

const std::string& pageJpeg() {
    static const std::string file = encoders::encodeJpeg(page(), 90);
    return file;
}

// The decode writes into the same rows every time: a fresh 26 MB block would
// add page faults whose cost swings with the allocator's state from one run
// to the next, and the operations measured against it reuse their blocks.
void decodePage() {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_decompress(&cinfo);
    const std::string& file = pageJpeg();
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(file.data()), file.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const auto stride = static_cast<std::size_t>(rowBytes(cinfo.output_width, 24));
    static std::vector<unsigned char> rows;
    rows.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rows.data() + (cinfo.output_height - 1 - cinfo.output_scanline) * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(rows.data());
}

// The page (or its top-left part) as a bottom-up picture of 8 or 24 bits; the
// 8-bit form takes the green channel as its grey index.
void loadPage(PictureBuffer& picture, int width, int height, int bits) {
    const auto stride = static_cast<std::size_t>(rowBytes(width, bits));
    BlockPair blocks{platform::allocateBlock(bits == 8 ? 40 + 1024 : 40),
                     platform::allocateBlock(stride * height)};
    unsigned char* h = platform::lockBlock(blocks.header);
    const std::int32_t fields[] = {40, width, height};
    std::memcpy(h, fields, sizeof fields);
    h[12] = 1;
    h[14] = static_cast<unsigned char>(bits);
    if (bits == 8)
        for (int i = 0; i < 256; ++i)
            std::memset(h + 40 + 4 * i, i, 3);
    unsigned char* out = platform::lockBlock(blocks.bits);
    const auto& p = page();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = p.pixels.data() + std::size_t(p.height - 1 - y) * p.width * 3;
        unsigned char* row = out + y * stride;
        for (int x = 0; x < width; ++x) {
            if (bits == 8) {
                row[x] = src[3 * x + 1];
            } else {
                row[3 * x] = src[3 * x + 2];
                row[3 * x + 1] = src[3 * x + 1];
                row[3 * x + 2] = src[3 * x];
            }
        }
    }
    picture.attach(blocks.header, blocks.bits);
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Runs `prepare` untimed, then `work` and a decode, and reports work / decode.
void ratio(benchmark::State& state, const char* name, const std::function<void()>& prepare,
           const std::function<void()>& work) {
    Clock::duration workTime{}, decodeTime{};
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        auto t0 = Clock::now();
        work();
        auto t1 = Clock::now();
        decodePage();
        auto t2 = Clock::now();
        workTime += t1 - t0;
        decodeTime += t2 - t1;
    }
    state.counters[name] = seconds(workTime) / seconds(decodeTime);
}

void scaling(benchmark::State& state, const char* name, int engine, int srcW, int srcH, int dstW,
             int dstH) {
    auto picture = std::make_unique<PictureBuffer>();
    loadPage(*picture, srcW, srcH, 24);
    setEngines(*picture, engine == kLinear, engine, engine == kLinear);
    std::vector<unsigned char> target(static_cast<std::size_t>(rowBytes(dstW, 24) * dstH));
    ratio(
        state, name, [] {},
        [&] {
            scaleInto(*picture, target.data(), 0, 0, dstW, dstH, dstW, dstH);
            benchmark::DoNotOptimize(target.data());
        });
}

void BM_Avg1(benchmark::State& s) {
    scaling(s, "avg1_reduce_vs_decode", kAverage1, kWidth, kHeight, 765, 1080);
}
void BM_Avg2(benchmark::State& s) {
    scaling(s, "avg2_reduce_vs_decode", kAverage2, kWidth, kHeight, 765, 1080);
}
void BM_LinearReduce(benchmark::State& s) {
    scaling(s, "linear_reduce_vs_decode", kLinear, kWidth, kHeight, 765, 1080);
}
void BM_NearestReduce(benchmark::State& s) {
    scaling(s, "nearest_reduce_vs_decode", kNearestPoint, kWidth, kHeight, 765, 1080);
}
void BM_LinearEnlarge(benchmark::State& s) {
    scaling(s, "linear_enlarge_vs_decode", kLinear, 1200, 1700, 1905, 2700);
}

void BM_Convert8to24(benchmark::State& state) {
    auto picture = std::make_unique<PictureBuffer>();
    ratio(
        state, "convert8to24_vs_decode", [&] { loadPage(*picture, kWidth, kHeight, 8); },
        [&] { picture->convertTo24(); });
}

void filter(benchmark::State& state, const char* name, int value) {
    auto picture = std::make_unique<PictureBuffer>();
    loadPage(*picture, kWidth, kHeight, 24);
    const std::size_t size = platform::blockSize(picture->bitsBlock);
    std::vector<unsigned char> original(platform::lockBlock(picture->bitsBlock),
                                        platform::lockBlock(picture->bitsBlock) + size);
    ratio(
        state, name,
        [&] { std::memcpy(platform::lockBlock(picture->bitsBlock), original.data(), size); },
        [&] { applyFilter(*picture, value); });
}

void BM_Negative(benchmark::State& s) {
    filter(s, "filter_negative_vs_decode", kNegative);
}
void BM_Grey(benchmark::State& s) {
    filter(s, "filter_grey_vs_decode", kGrey);
}
void BM_Blur(benchmark::State& s) {
    filter(s, "filter_blur_vs_decode", kBlur);
}
void BM_BlurII(benchmark::State& s) {
    filter(s, "filter_blurii_vs_decode", kBlurII);
}
void BM_Sharpen(benchmark::State& s) {
    filter(s, "filter_sharpen_vs_decode", kSharpen);
}
void BM_Brighten(benchmark::State& s) {
    filter(s, "filter_brighten_vs_decode", kBrighten);
}
void BM_Darken(benchmark::State& s) {
    filter(s, "filter_darken_vs_decode", kDarken);
}
void BM_BlockEdges(benchmark::State& s) {
    filter(s, "filter_blockedge_vs_decode", kBlockEdgeSmoothing);
}

} // namespace

BENCHMARK(BM_Avg1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Avg2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinearReduce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NearestReduce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinearEnlarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert8to24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Negative)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Blur)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlurII)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sharpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Brighten)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Darken)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlockEdges)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
