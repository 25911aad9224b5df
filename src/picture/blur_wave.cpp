#include "picture/blur_wave.h"

#include <cstdint>

#if VOXA_HAS_BYTE_PERMUTES
// GCC 12 takes the undefined first operand the unmasked AVX-512 intrinsics
// pass on for an uninitialised variable.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

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

// Bytes [from, to) of the 64 from `base`, clipped to [0, 64).
std::uint64_t byteLanes(std::int64_t base, std::int64_t from, std::int64_t to) {
    const std::int64_t lo = from - base < 0 ? 0 : from - base;
    const std::int64_t hi = to - base > 48 ? 48 : to - base;
    if (hi <= lo) return 0;
    const std::uint64_t upTo = hi >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << hi) - 1;
    return upTo & ~((std::uint64_t{1} << lo) - 1);
}

} // namespace

// Each row trails the one below it by a pixel: at step t row i does pixel
// t - i, whose lower neighbour row i - 1 finished at step t - 1 and whose left
// neighbour row i itself did. A step is one vector, a lane to a row, each
// pixel's three bytes in the low bytes of its lane; no byte carries into the
// next, each sum ending at most 63 + 63 + 127. The rows are read and written
// sixteen pixels at a time and turned between row order and step order by a
// transpose. Lanes outside [x0, x1) carry what was read (pixel x0 - 1, the
// finished left neighbour) or nothing, and only [x0, x1) is stored.
BYTE_PERMUTES void blurColourWave(unsigned char* r0, std::ptrdiff_t stride, int x0, int x1) {
    const __m512i spread = _mm512_load_si512(kForms.spread);
    const __m512i pack = _mm512_load_si512(kForms.pack);
    const __m512i quarter = _mm512_set1_epi32(0x003F3F3F), half = _mm512_set1_epi32(0x007F7F7F);
    const unsigned char* below = r0 - stride;
    __m512i previous = _mm512_setzero_si512(); // the last step's results
    for (int t0 = x0 - 1; t0 < x1 + kBlurWaveRows - 1; t0 += 16) {
        __m512i v[16];
        std::uint64_t stored[16];
        for (int i = 0; i < 16; ++i) {
            const std::int64_t first = 3 * std::int64_t{t0 - i};
            const std::uint64_t read =
                byteLanes(first, 3 * std::int64_t{x0 - 1}, 3 * std::int64_t{x1});
            stored[i] = byteLanes(first, 3 * std::int64_t{x0}, 3 * std::int64_t{x1});
            const unsigned char* at = r0 + i * stride + first;
            _mm_prefetch(reinterpret_cast<const char*>(at + kAhead), _MM_HINT_T0);
            const __m512i bytes = _mm512_maskz_loadu_epi8(read, at);
            v[i] = _mm512_maskz_permutexvar_epi8(kSpreadLanes, spread, bytes);
        }
        const std::uint64_t underLanes =
            byteLanes(3 * std::int64_t{t0}, 3 * std::int64_t{x0}, 3 * std::int64_t{x1});
        const __m512i under = _mm512_maskz_permutexvar_epi8(
            kSpreadLanes, spread,
            _mm512_maskz_loadu_epi8(underLanes, below + 3 * std::int64_t{t0}));
        transpose(v);
        for (int s = 0; s < 16; ++s) {
            // Row i is at pixel t0 + s - i; rows still left of x0 keep what they read.
            const int ahead = t0 + s - x0;
            const __mmask16 waiting =
                ahead >= 15 ? 0 : static_cast<__mmask16>(0xFFFF << (ahead < 0 ? 0 : ahead + 1));
            const __m512i down = _mm512_alignr_epi32(
                previous, _mm512_permutexvar_epi32(_mm512_set1_epi32(s), under), 15);
            const __m512i sum = _mm512_add_epi32(
                _mm512_add_epi32(_mm512_and_si512(_mm512_srli_epi32(down, 2), quarter),
                                 _mm512_and_si512(_mm512_srli_epi32(previous, 2), quarter)),
                _mm512_and_si512(_mm512_srli_epi32(v[s], 1), half));
            previous = _mm512_mask_blend_epi32(waiting, sum, v[s]);
            v[s] = previous;
        }
        transpose(v);
        for (int i = 0; i < 16; ++i)
            _mm512_mask_storeu_epi8(r0 + i * stride + 3 * std::int64_t{t0 - i}, stored[i],
                                    _mm512_permutexvar_epi8(pack, v[i]));
    }
}

#else

void blurColourWave(unsigned char*, std::ptrdiff_t, int, int) {}

#endif
