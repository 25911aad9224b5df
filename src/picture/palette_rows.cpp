#include "picture/palette_rows.h"

#if VOXA_HAS_BYTE_PERMUTES
#include "platform/avx512_intrinsics.h"

namespace {

// Byte q of output vector o (of three) holds channel p % 3 of pixel p / 3,
// p = 64 o + q. blueGreen picks that byte from the blue (0..63) or green
// (64..127) vector; red picks it from the red vector where redLanes says so.
struct Interleave {
    alignas(64) unsigned char blueGreen[3][64];
    alignas(64) unsigned char red[3][64];
    alignas(64) unsigned char grey[3][64]; // the pixel of each output byte
    std::uint64_t redLanes[3];

    Interleave() : blueGreen{}, red{}, grey{}, redLanes{} {
        for (int o = 0; o < 3; ++o)
            for (int q = 0; q < 64; ++q) {
                const int p = 64 * o + q, pixel = p / 3, channel = p % 3;
                grey[o][q] = static_cast<unsigned char>(pixel);
                if (channel == 2) {
                    red[o][q] = static_cast<unsigned char>(pixel);
                    redLanes[o] |= std::uint64_t{1} << q;
                } else {
                    blueGreen[o][q] = static_cast<unsigned char>(pixel + 64 * channel);
                }
            }
    }
};

const Interleave kInterleave;

// The 256-entry lookup as two 128-byte permutes, the top index bit choosing.
BYTE_PERMUTES inline __m512i lookUp(__m512i index, const unsigned char* table) {
    const __m512i low =
        _mm512_permutex2var_epi8(_mm512_load_si512(table), index, _mm512_load_si512(table + 64));
    const __m512i high = _mm512_permutex2var_epi8(_mm512_load_si512(table + 128), index,
                                                  _mm512_load_si512(table + 192));
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
}

} // namespace

BYTE_PERMUTES int paletteRowsWide(const unsigned char* s, unsigned char* d, int n,
                                  const PaletteChannels& colours) {
    const __m512i blueGreen[3] = {_mm512_load_si512(kInterleave.blueGreen[0]),
                                  _mm512_load_si512(kInterleave.blueGreen[1]),
                                  _mm512_load_si512(kInterleave.blueGreen[2])};
    const __m512i red[3] = {_mm512_load_si512(kInterleave.red[0]),
                            _mm512_load_si512(kInterleave.red[1]),
                            _mm512_load_si512(kInterleave.red[2])};
    if (colours.grey) {
        // Each index is its colour's three bytes: only the interleave is left.
        const __m512i spread[3] = {_mm512_load_si512(kInterleave.grey[0]),
                                   _mm512_load_si512(kInterleave.grey[1]),
                                   _mm512_load_si512(kInterleave.grey[2])};
        for (int x = 0; x < n; x += 64, d += 192) {
            const __m512i index = _mm512_loadu_si512(s + x);
            for (int o = 0; o < 3; ++o)
                _mm512_storeu_si512(d + 64 * o, _mm512_permutexvar_epi8(spread[o], index));
        }
        return n;
    }
    for (int x = 0; x < n; x += 64, d += 192) {
        const __m512i index = _mm512_loadu_si512(s + x);
        const __m512i b = lookUp(index, colours.channel[0]);
        const __m512i g = lookUp(index, colours.channel[1]);
        const __m512i r = lookUp(index, colours.channel[2]);
        for (int o = 0; o < 3; ++o) {
            const __m512i bg = _mm512_permutex2var_epi8(b, blueGreen[o], g);
            _mm512_storeu_si512(
                d + 64 * o, _mm512_mask_permutexvar_epi8(bg, kInterleave.redLanes[o], red[o], r));
        }
    }
    return n;
}

#else

int paletteRowsWide(const unsigned char*, unsigned char*, int, const PaletteChannels&) {
    return 0;
}

#endif
