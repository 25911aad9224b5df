#include "picture/column_gather.h"

#if VOXA_HAS_BYTE_PERMUTES
#include "platform/avx512_intrinsics.h"
#endif

namespace {

constexpr int kWindow = 128;       // source bytes one step can pick from
constexpr int kMostPerStep = 21;   // pixels that fit a 64-byte output
constexpr std::int64_t kPixel = 3; // bytes

} // namespace

ColumnGather::ColumnGather(const int* cols, const int* second, int n, int width)
    : second_(second != nullptr) {
    if (!hasBytePermutes()) return;
    const int* last = second ? second : cols; // the furthest column of each pixel
    const std::int64_t rowEnd = kPixel * width;
    int k = 0;
    while (k < n) {
        const std::int64_t from = kPixel * cols[k];
        // The rest go a pixel at a time from a column whose window would
        // reach past the row, or would not hold its second pixel.
        if (from + kWindow > rowEnd || kPixel * last[k] + kPixel > from + kWindow) break;
        Step step{};
        step.from = from;
        step.to = static_cast<int>(kPixel * k);
        int count = 0;
        while (k < n && count < kMostPerStep && kPixel * last[k] + kPixel <= from + kWindow) {
            for (int c = 0; c < kPixel; ++c) {
                step.pick[0][kPixel * count + c] =
                    static_cast<unsigned char>(kPixel * cols[k] - from + c);
                if (second)
                    step.pick[1][kPixel * count + c] =
                        static_cast<unsigned char>(kPixel * second[k] - from + c);
            }
            ++count;
            ++k;
        }
        step.lanes = (std::uint64_t{1} << (kPixel * count)) - 1;
        steps_.push_back(step);
    }
    covered_ = k;
}

#if VOXA_HAS_BYTE_PERMUTES

BYTE_PERMUTES void ColumnGather::gather(const unsigned char* row, unsigned char* out,
                                        unsigned char* outSecond,
                                        const unsigned char* ahead) const {
    for (const Step& step : steps_) {
        const unsigned char* window = row + step.from;
        if (ahead) {
            _mm_prefetch(reinterpret_cast<const char*>(ahead + step.from), _MM_HINT_T0);
            _mm_prefetch(reinterpret_cast<const char*>(ahead + step.from + 64), _MM_HINT_T0);
        }
        const __m512i low = _mm512_loadu_si512(window), high = _mm512_loadu_si512(window + 64);
        _mm512_mask_storeu_epi8(
            out + step.to, step.lanes,
            _mm512_permutex2var_epi8(low, _mm512_load_si512(step.pick[0]), high));
        if (second_)
            _mm512_mask_storeu_epi8(
                outSecond + step.to, step.lanes,
                _mm512_permutex2var_epi8(low, _mm512_load_si512(step.pick[1]), high));
    }
}

#else

void ColumnGather::gather(const unsigned char*, unsigned char*, unsigned char*,
                          const unsigned char*) const {}

#endif
