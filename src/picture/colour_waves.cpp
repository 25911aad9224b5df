#include "picture/colour_waves.h"

#include <algorithm>
#include <cstdint>

#if VOXA_HAS_BYTE_PERMUTES
#include "platform/avx512_intrinsics.h"

namespace {

// Byte q of the 4-byte form of 16 pixels from byte spread[q] of their 3-byte
// form (the fourth byte of each is zero), and back with pack.
struct PixelForms {
    alignas(64) unsigned char spread[64];
    alignas(64) unsigned char pack[64];
    PixelForms() : spread{}, pack{} {
        for (int s = 0; s < 16; ++s)
            for (int c = 0; c < 3; ++c) {
                spread[4 * s + c] = static_cast<unsigned char>(3 * s + c);
                pack[3 * s + c] = static_cast<unsigned char>(4 * s + c);
            }
    }
};

const PixelForms kForms;
// How far ahead of its reads each row asks for its bytes: sixteen rows are
// more streams than the processor follows by itself.
constexpr int kAhead = 4 * 48;
constexpr std::uint64_t kSpreadLanes = 0x7777777777777777; // the three colour bytes of each

// Lane j of row i becomes lane i of row j.
BYTE_PERMUTES inline void transpose(__m512i (&r)[16]) {
    __m512i t[16];
    for (int k = 0; k < 8; ++k) {
        t[2 * k] = _mm512_unpacklo_epi32(r[2 * k], r[2 * k + 1]);
        t[2 * k + 1] = _mm512_unpackhi_epi32(r[2 * k], r[2 * k + 1]);
    }
    for (int k = 0; k < 4; ++k) {
        r[4 * k] = _mm512_unpacklo_epi64(t[4 * k], t[4 * k + 2]);
        r[4 * k + 1] = _mm512_unpackhi_epi64(t[4 * k], t[4 * k + 2]);
        r[4 * k + 2] = _mm512_unpacklo_epi64(t[4 * k + 1], t[4 * k + 3]);
        r[4 * k + 3] = _mm512_unpackhi_epi64(t[4 * k + 1], t[4 * k + 3]);
    }
    for (int h = 0; h < 2; ++h)
        for (int k = 0; k < 4; ++k) {
            t[8 * h + k] = _mm512_shuffle_i32x4(r[8 * h + k], r[8 * h + 4 + k], 0x88);
            t[8 * h + 4 + k] = _mm512_shuffle_i32x4(r[8 * h + k], r[8 * h + 4 + k], 0xdd);
        }
    for (int k = 0; k < 8; ++k) {
        r[k] = _mm512_shuffle_i32x4(t[k], t[8 + k], 0x88);
        r[8 + k] = _mm512_shuffle_i32x4(t[k], t[8 + k], 0xdd);
    }
}

// Bytes [from, to) of the 48 from `base` (16 pixels), clipped to them.
std::uint64_t byteLanes(std::int64_t base, std::int64_t from, std::int64_t to) {
    const std::int64_t lo = from - base < 0 ? 0 : from - base;
    const std::int64_t hi = to - base > 48 ? 48 : to - base;
    if (hi <= lo) return 0;
    const std::uint64_t upTo = hi >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << hi) - 1;
    return upTo & ~((std::uint64_t{1} << lo) - 1);
}

constexpr std::uint64_t kWholeRun = (std::uint64_t{1} << 48) - 1; // 16 pixels

// Each row trails the one below it by a pixel: at step t row i does pixel
// t - i, whose lower neighbour row i - 1 finished at step t - 1 and whose left
// neighbour row i itself did. A step is one vector, a lane to a row, each
// pixel's three bytes in the low bytes of its lane, and Step::apply(pixel,
// previous, under) works it out from the last step's results and the pixel
// below lane 0 in lane 15 of `under`. The rows are read and written sixteen
// pixels at a time and turned between row order and step order by a
// transpose. Lanes outside [x0, x1) carry what was read (pixel x0 - 1, the
// finished left neighbour) or nothing, and only [x0, x1) is stored. The two
// jobs go step by step together, so that the chains of one fill the waits of
// the other.
template <typename Step>
BYTE_PERMUTES void colourWaves(std::ptrdiff_t stride, const WaveJob (&jobs)[2]) {
    const __m512i spread = _mm512_load_si512(kForms.spread);
    const __m512i pack = _mm512_load_si512(kForms.pack);
    const auto bytesOf = [](int pixel) { return 3 * std::int64_t{pixel}; };
    int steps = 0; // from pixel x0 - 1 of row 0 to pixel x1 - 1 of row 15
    for (const WaveJob& job : jobs)
        if (job.x1 > job.x0) steps = std::max(steps, job.x1 - job.x0 + kColourWaveRows);
    __m512i previous[2] = {_mm512_setzero_si512(), _mm512_setzero_si512()};
    for (int k = 0; k < steps; k += 16) {
        __m512i v[2][16], under[2];
        std::uint64_t stored[2][16];
        for (int j = 0; j < 2; ++j) {
            const WaveJob& job = jobs[j];
            if (job.x1 <= job.x0) {
                for (int i = 0; i < 16; ++i) {
                    v[j][i] = _mm512_setzero_si512();
                    stored[j][i] = 0;
                }
                under[j] = _mm512_setzero_si512();
                continue;
            }
            const int t0 = job.x0 - 1 + k, x0 = job.x0, x1 = job.x1;
            // Blocks whose rows all lie within [x0, x1) read and write whole.
            const bool whole = t0 - 15 >= x0 && t0 + 16 <= x1;
            for (int i = 0; i < 16; ++i) {
                const std::int64_t first = bytesOf(t0 - i);
                const std::uint64_t read =
                    whole ? kWholeRun : byteLanes(first, bytesOf(x0 - 1), bytesOf(x1));
                stored[j][i] = whole ? kWholeRun : byteLanes(first, bytesOf(x0), bytesOf(x1));
                const unsigned char* at = job.r0 + i * stride + first;
                if (read) _mm_prefetch(reinterpret_cast<const char*>(at + kAhead), _MM_HINT_T0);
                v[j][i] = _mm512_maskz_permutexvar_epi8(kSpreadLanes, spread,
                                                        _mm512_maskz_loadu_epi8(read, at));
            }
            const std::uint64_t underLanes = byteLanes(bytesOf(t0), bytesOf(x0), bytesOf(x1));
            under[j] = _mm512_maskz_permutexvar_epi8(
                kSpreadLanes, spread,
                _mm512_maskz_loadu_epi8(underLanes, job.r0 - stride + bytesOf(t0)));
            transpose(v[j]);
        }
        for (int s = 0; s < 16; ++s) {
            const __m512i lane = _mm512_set1_epi32(s);
            for (int j = 0; j < 2; ++j) {
                // Row i is at pixel t0 + s - i; rows still left of x0 keep what they read.
                const int ahead = k + s - 1;
                const __m512i out =
                    Step::apply(v[j][s], previous[j], _mm512_permutexvar_epi32(lane, under[j]));
                if (ahead >= 15) {
                    previous[j] = out;
                } else {
                    const auto waiting =
                        static_cast<__mmask16>(0xFFFF << (ahead < 0 ? 0 : ahead + 1));
                    previous[j] = _mm512_mask_blend_epi32(waiting, out, v[j][s]);
                }
                v[j][s] = previous[j];
            }
        }
        for (int j = 0; j < 2; ++j) {
            if (jobs[j].x1 <= jobs[j].x0) continue;
            transpose(v[j]);
            const int t0 = jobs[j].x0 - 1 + k;
            for (int i = 0; i < 16; ++i)
                _mm512_mask_storeu_epi8(jobs[j].r0 + i * stride + bytesOf(t0 - i), stored[j][i],
                                        _mm512_permutexvar_epi8(pack, v[j][i]));
        }
    }
}

// (below >> 2) + (left >> 2) + (pixel >> 1) in each byte: no byte carries
// into the next, each sum ending at most 63 + 63 + 127. The quarters of the
// last step's results are taken once, for the left neighbours as they stand
// and for the lower ones a lane on.
struct BlurStep {
    BYTE_PERMUTES static __m512i apply(__m512i pixel, __m512i previous, __m512i under) {
        const __m512i quarter = _mm512_set1_epi32(0x003F3F3F), half = _mm512_set1_epi32(0x007F7F7F);
        const __m512i left = _mm512_and_si512(_mm512_srli_epi32(previous, 2), quarter);
        const __m512i lowest = _mm512_and_si512(_mm512_srli_epi32(under, 2), quarter);
        const __m512i own = _mm512_and_si512(_mm512_srli_epi32(pixel, 1), half);
        return _mm512_add_epi32(_mm512_add_epi32(own, left), _mm512_alignr_epi32(left, lowest, 15));
    }
};

// The sum of the three byte differences of each lane's pixels.
BYTE_PERMUTES inline __m512i distance(__m512i a, __m512i b) {
    const __m512i bytes = _mm512_sub_epi8(_mm512_max_epu8(a, b), _mm512_min_epu8(a, b));
    return _mm512_madd_epi16(_mm512_maddubs_epi16(bytes, _mm512_set1_epi8(1)),
                             _mm512_set1_epi16(1));
}

// The low (half 0) or high (half 1) eight bytes of each 16-byte part of x as
// 16-bit words.
BYTE_PERMUTES inline __m512i words(__m512i x, int half) {
    const __m512i zero = _mm512_setzero_si512();
    return half == 0 ? _mm512_unpacklo_epi8(x, zero) : _mm512_unpackhi_epi8(x, zero);
}

// The three cases are all worked out, in 16-bit words, and the one that holds
// is chosen by masks. floor(x / 5) and floor(x / 3) are the high words of
// x times 13108 and 21846, exact for the sums that occur (below 1276).
struct BlurIIStep {
    BYTE_PERMUTES static __m512i apply(__m512i pixel, __m512i left, __m512i under) {
        const __m512i below = _mm512_alignr_epi32(left, under, 15);
        const __m512i cl = distance(pixel, left), ld = distance(left, below),
                      cd = distance(pixel, below);
        const __mmask16 near =
            _mm512_cmplt_epu32_mask(_mm512_max_epu32(cl, ld), _mm512_set1_epi32(40));
        const __mmask16 closeL = _mm512_cmplt_epu32_mask(cl, _mm512_set1_epi32(16));
        const __mmask16 closeD = _mm512_cmplt_epu32_mask(cd, _mm512_set1_epi32(16));
        const __m512i fifth = _mm512_set1_epi16(13108), third = _mm512_set1_epi16(21846);
        __m512i mix[2], fromL[2], fromD[2];
        for (int h = 0; h < 2; ++h) {
            const __m512i c = words(pixel, h), l = words(left, h), d = words(below, h);
            const __m512i c2 = _mm512_add_epi16(c, c);
            mix[h] = _mm512_mulhi_epu16(
                _mm512_add_epi16(c, _mm512_slli_epi16(_mm512_add_epi16(l, d), 1)), fifth);
            fromL[h] = _mm512_mulhi_epu16(_mm512_add_epi16(l, c2), third);
            fromD[h] = _mm512_mulhi_epu16(_mm512_add_epi16(d, c2), third);
        }
        __m512i out =
            _mm512_mask_blend_epi32(closeD, pixel, _mm512_packus_epi16(fromD[0], fromD[1]));
        out = _mm512_mask_blend_epi32(closeL, out, _mm512_packus_epi16(fromL[0], fromL[1]));
        return _mm512_mask_blend_epi32(near, out, _mm512_packus_epi16(mix[0], mix[1]));
    }
};

} // namespace

void blurWaves(std::ptrdiff_t stride, const WaveJob (&jobs)[2]) {
    colourWaves<BlurStep>(stride, jobs);
}

void blurIIWaves(std::ptrdiff_t stride, const WaveJob (&jobs)[2]) {
    colourWaves<BlurIIStep>(stride, jobs);
}

#else

void blurWaves(std::ptrdiff_t, const WaveJob (&)[2]) {}
void blurIIWaves(std::ptrdiff_t, const WaveJob (&)[2]) {}

#endif
