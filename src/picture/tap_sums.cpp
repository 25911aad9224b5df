#include "picture/tap_sums.h"

#include <algorithm>

#if VOXA_HAS_BYTE_PERMUTES
#include "platform/avx512_intrinsics.h"
#endif

namespace {

constexpr int kWindow = 64;      // words one step picks from
constexpr int kMostPerStep = 10; // positions whose three words fit 32 lanes

} // namespace

TapSums::TapSums(const std::vector<int>& offset, const std::vector<std::uint16_t>& weight,
                 int positions, int taps, std::size_t words)
    : perStep_(taps) {
    if (!hasBytePermutes() || taps <= 0) return;
    const auto at = [&](int q, int i) { return std::size_t(q) * positions + i; };
    // The words of position i's taps, those with weight, lie in [lo, hi).
    const auto span = [&](int i, int& lo, int& hi) {
        lo = offset[at(0, i)];
        hi = lo + 3;
        for (int q = 1; q < taps; ++q)
            if (weight[3 * at(q, i)] != 0) {
                lo = std::min(lo, offset[at(q, i)]);
                hi = std::max(hi, offset[at(q, i)] + 3);
            }
    };
    int i = 0;
    while (i < positions) {
        int lo, hi;
        span(i, lo, hi);
        const int from = lo;
        // The rest go the plain way from a position whose taps reach past the
        // line's end or spread over more than one window.
        if (std::size_t(from) + kWindow > words || hi > from + kWindow) break;
        Step step{from, 3 * i, 0};
        const std::size_t first = taps_.size();
        taps_.resize(first + taps);
        int count = 0;
        while (i < positions && count < kMostPerStep) {
            span(i, lo, hi);
            if (lo < from || hi > from + kWindow) break;
            for (int q = 0; q < taps; ++q)
                for (int c = 0; c < 3; ++c) {
                    const std::size_t k = at(q, i);
                    Tap& tap = taps_[first + q];
                    const bool used = weight[3 * k + c] != 0;
                    tap.pick[3 * count + c] =
                        static_cast<std::uint16_t>(used ? offset[k] + c - from : 0);
                    tap.weight[3 * count + c] = used ? weight[3 * k + c] : 0;
                }
            ++count;
            ++i;
        }
        step.lanes = (std::uint32_t{1} << (3 * count)) - 1;
        steps_.push_back(step);
    }
    covered_ = i;
}

#if VOXA_HAS_BYTE_PERMUTES

BYTE_PERMUTES void TapSums::apply(const std::uint16_t* line, float reciprocal,
                                  unsigned char* out) const {
    const __m512 half = _mm512_set1_ps(0.5f), scale = _mm512_set1_ps(reciprocal);
    const Tap* tap = taps_.data();
    for (const Step& step : steps_) {
        const __m512i low = _mm512_loadu_si512(line + step.from);
        const __m512i high = _mm512_loadu_si512(line + step.from + 32);
        __m512i sum = _mm512_setzero_si512();
        for (int q = 0; q < perStep_; ++q, ++tap) {
            const __m512i words =
                _mm512_permutex2var_epi16(low, _mm512_load_si512(tap->pick), high);
            sum = _mm512_add_epi16(sum, _mm512_mullo_epi16(words, _mm512_load_si512(tap->weight)));
        }
        // floor(sum / count) as the plain pass works it out: (sum + 1/2) x
        // (1 / count) in floats, truncated.
        __m512i quotient[2];
        for (int h = 0; h < 2; ++h) {
            const __m256i part =
                h == 0 ? _mm512_castsi512_si256(sum) : _mm512_extracti64x4_epi64(sum, 1);
            const __m512 x = _mm512_cvtepi32_ps(_mm512_cvtepu16_epi32(part));
            quotient[h] = _mm512_cvttps_epi32(_mm512_mul_ps(_mm512_add_ps(x, half), scale));
        }
        const __m256i bytes =
            _mm256_inserti128_si256(_mm256_castsi128_si256(_mm512_cvtepi32_epi8(quotient[0])),
                                    _mm512_cvtepi32_epi8(quotient[1]), 1);
        _mm256_mask_storeu_epi8(out + step.to, step.lanes, bytes);
    }
}

#else

void TapSums::apply(const std::uint16_t*, float, unsigned char*) const {}

#endif
