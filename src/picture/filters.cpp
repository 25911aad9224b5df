#include "picture/filters.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <thread>
#include <vector>

#include "picture/colour_waves.h"
#include "picture/row_bands.h"
#include "picture/vector_clones.h"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Byte = unsigned char;

struct Rows {
    Byte* base;
    std::int64_t stride;
    int width; // pixels
    int height;
    int bpp; // bytes per pixel, 1 or 3
    Byte* row(int y) const { return base + y * stride; }
    int bytes() const { return width * bpp; }
};

// Runs work(first, last) on bands of the rows [from, to), side by side.
template <typename Work> void eachRowBand(const Rows& p, int from, int to, Work work) {
    forEachRowBand(to - from, std::int64_t{p.bytes()} * (to - from),
                   [&](int first, int last) { work(from + first, from + last); });
}

// Every byte of the rows through a byte-wise map, row bands side by side.
void eachByte(const Rows& p, void (*map)(Byte*, int)) {
    eachRowBand(p, 0, p.height, [&](int first, int last) {
        for (int y = first; y < last; ++y)
            map(p.row(y), p.bytes());
    });
}

// Runs work(band, x0, x1) for the bands [0, bands) of rows, over the pixels
// [1, width - 1) cut into strips of columns, a thread to a strip: a strip
// takes a band once the strip on its left has finished it, which is all a
// filter needs whose pixels wait only on those to their left and below.
template <typename Work> void inColumnStrips(const Rows& p, int bands, Work work) {
    const std::vector<int> strips = rowBandEdges(2, std::int64_t{p.bytes()} * p.height);
    const int count = static_cast<int>(strips.size()) - 1;
    std::vector<std::atomic<int>> done(count); // bands finished by each strip
    forEachRowBand(strips, [&](int s, int) {
        const int x0 = 1 + (p.width - 2) * s / count, x1 = 1 + (p.width - 2) * (s + 1) / count;
        for (int b = 0; b < bands; ++b) {
            if (s > 0)
                while (done[s - 1].load(std::memory_order_acquire) <= b)
                    std::this_thread::yield();
            work(b, x0, x1);
            done[s].store(b + 1, std::memory_order_release);
        }
    });
}

// Runs wave(stride, jobs) over `bands` groups of kColourWaveRows rows from
// row 1 up, the pixels [1, width - 1) cut into pairs of column strips, four
// pairs where the work is worth more than one thread. A pair's two strips go
// a band apart, the left one ahead: a step does band k of the left strip and
// band k - 1 of the right, whose pixels do not meet, and the left strip waits
// for the pair on its left to finish the band. The threads take the pairs in
// turn, so one that starts late leaves the others more to do rather than
// holding them up.
void inStripPairs(const Rows& p, int bands, void (*wave)(std::ptrdiff_t, const WaveJob (&)[2])) {
    constexpr int kPairs = 4;
    const bool split = rowBandEdges(2, std::int64_t{p.bytes()} * p.height).size() > 2;
    const int pairs = split ? std::min(kPairs, std::max(1, (p.width - 2) / 32)) : 1;
    std::vector<int> edges(pairs + 1); // one "band" per pair
    std::iota(edges.begin(), edges.end(), 0);
    const auto edge = [&](int strip) { return 1 + (p.width - 2) * strip / (2 * pairs); };
    const auto rows = [&](int band) { return p.row(1 + kColourWaveRows * band); };
    std::vector<std::atomic<int>> done(pairs); // bands each pair's right strip has finished
    forEachRowBand(edges, [&](int t, int) {
        for (int k = 0; k <= bands; ++k) {
            if (t > 0 && k < bands)
                while (done[t - 1].load(std::memory_order_acquire) <= k)
                    std::this_thread::yield();
            WaveJob jobs[2] = {{nullptr, 0, 0}, {nullptr, 0, 0}};
            if (k < bands) jobs[0] = {rows(k), edge(2 * t), edge(2 * t + 1)};
            if (k > 0) jobs[1] = {rows(k - 1), edge(2 * t + 1), edge(2 * t + 2)};
            wave(p.stride, jobs);
            done[t].store(k, std::memory_order_release);
        }
    });
}

VECTOR_CLONES void negativeBytes(Byte* r, int n) {
    for (int i = 0; i < n; ++i)
        r[i] = static_cast<Byte>(255 - r[i]);
}

// min(v + v / 4, 255) in byte lanes: the quarter added is cut to the room
// left below 255.
VECTOR_CLONES void brightenBytes(Byte* r, int n) {
    for (int i = 0; i < n; ++i) {
        const auto quarter = static_cast<Byte>(r[i] >> 2), room = static_cast<Byte>(255 - r[i]);
        r[i] = static_cast<Byte>(r[i] + std::min(quarter, room));
    }
}

VECTOR_CLONES void darkenBytes(Byte* r, int n) {
    for (int i = 0; i < n; ++i)
        r[i] = static_cast<Byte>(r[i] - r[i] / 4);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VOXA_GREY_SHUFFLES 1
// Grey of 16 x runs pixels from r, 48 bytes a run, in place. For the lower
// and the upper eight pixels of a run, shuffles of the two 16-byte pieces
// they lie in bring each pixel's blue and green bytes into one 16-bit word,
// summed by a multiply-add with ones, and its red byte into another; the sum
// times 21846 >> 16 is floor(sum / 3) for sums up to 765, and three shuffles
// spread every grey byte over its pixel's three.
[[gnu::target("ssse3")]] void greyRuns(Byte* r, int runs) {
    // gather[h][k][kind]: for half h, piece h + k, blue and green (kind 0) or
    // red (kind 1) into the 16-bit words of the half's pixels.
    static constexpr auto gather = [] {
        std::array<std::array<std::array<std::array<std::uint8_t, 16>, 2>, 2>, 2> m{};
        for (int h = 0; h < 2; ++h)
            for (int k = 0; k < 2; ++k)
                for (int kind = 0; kind < 2; ++kind)
                    for (int b = 0; b < 16; ++b) {
                        const int e = b % 2, channel = kind == 0 ? e : e == 0 ? 2 : -1;
                        const int at = 3 * (8 * h + b / 2) + channel;
                        m[h][k][kind][b] =
                            channel >= 0 && at / 16 == h + k ? std::uint8_t(at % 16) : 0x80;
                    }
        return m;
    }();
    static constexpr auto spread = [] {
        std::array<std::array<std::uint8_t, 16>, 3> m{};
        for (int piece = 0; piece < 3; ++piece)
            for (int b = 0; b < 16; ++b)
                m[piece][b] = std::uint8_t((16 * piece + b) / 3);
        return m;
    }();
    const auto load = [](const auto& bytes) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data()));
    };
    const __m128i ones = _mm_set1_epi8(1), third = _mm_set1_epi16(21846);
    for (int run = 0; run < runs; ++run, r += 48) {
        const __m128i v[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(r)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + 16)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + 32))};
        __m128i grey[2];
        for (int h = 0; h < 2; ++h) {
            const __m128i bg = _mm_or_si128(_mm_shuffle_epi8(v[h], load(gather[h][0][0])),
                                            _mm_shuffle_epi8(v[h + 1], load(gather[h][1][0])));
            const __m128i red = _mm_or_si128(_mm_shuffle_epi8(v[h], load(gather[h][0][1])),
                                             _mm_shuffle_epi8(v[h + 1], load(gather[h][1][1])));
            grey[h] = _mm_mulhi_epu16(_mm_add_epi16(_mm_maddubs_epi16(bg, ones), red), third);
        }
        const __m128i g = _mm_packus_epi16(grey[0], grey[1]);
        for (int piece = 0; piece < 3; ++piece)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(r + 16 * piece),
                             _mm_shuffle_epi8(g, load(spread[piece])));
    }
}
#endif

void grey(const Rows& p) {
#if defined(VOXA_GREY_SHUFFLES)
    const int runs = __builtin_cpu_supports("ssse3") ? p.width / 16 : 0;
#else
    const int runs = 0;
#endif
    eachRowBand(p, 0, p.height, [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            Byte* r = p.row(y);
#if defined(VOXA_GREY_SHUFFLES)
            if (runs > 0) greyRuns(r, runs);
#endif
            for (Byte* c = r + 48 * runs; c < r + p.bytes(); c += 3)
                c[0] = c[1] = c[2] = static_cast<Byte>((c[0] + c[1] + c[2]) / 3);
        }
    });
}

// The terms of the bytes [from, to) themselves and of the bytes below them.
VECTOR_CLONES void blurOwnTerms(Byte* r, const Byte* below, int from, int to) {
    for (int i = from; i < to; ++i)
        r[i] = static_cast<Byte>((below[i] >> 2) + (r[i] >> 1));
}

// A word with `v` in the three bytes of a pixel and 0 in the fourth.
std::uint32_t pixelMask(Byte v) {
    const Byte bytes[4] = {v, v, v, 0};
    std::uint32_t m;
    std::memcpy(&m, bytes, 4);
    return m;
}

std::uint32_t wordAt(const Byte* at) {
    std::uint32_t v;
    std::memcpy(&v, at, 4);
    return v;
}

// The left terms of bytes [from, to) of a row, in order, `bpp` bytes apart;
// at 8 bits the left byte is carried along in a register.
void blurLeftTerms(Byte* r, int from, int to, int bpp) {
    if (bpp == 1) {
        int left = r[from - 1];
        for (int i = from; i < to; ++i) {
            left = r[i] + (left >> 2);
            r[i] = static_cast<Byte>(left);
        }
        return;
    }
    for (int i = from; i < to; ++i)
        r[i] = static_cast<Byte>(r[i] + (r[i - bpp] >> 2));
}

// 24-bit blur of pixels [x0, x1) of row r0, whose own terms are taken, and
// of r1, the row above it, whose are not; x0 is at least 1. The three bytes of a pixel go together
// in one word: no byte carries into the next, each ending at most 63 + 63 + 127, and the fourth
// byte of the word (the next pixel's first) gets nothing added. Row r1 trails r0 by kLag pixels,
// taking its own terms from r0's finished pixels as it goes, so that the two chains of additions
// run side by side. Every word is read before the store that overlaps it; r0's stores keep the
// fourth byte as it was, and r1's put it back from the word read. The last two pixels, whose words
// could reach past the row or into pixels another thread is working on, go byte by byte.
void blurColourPair(Byte* r0, Byte* r1, int x0, int x1) {
    constexpr int kLag = 64;
    const std::uint32_t quarter = pixelMask(0x3F), half = pixelMask(0x7F);
    const std::uint32_t fourth = ~pixelMask(0xFF);
    const int words = x1 - 2; // pixels x0 .. words - 1 go as words
    std::uint32_t left0 = wordAt(r0 + 3 * (x0 - 1)), own0 = wordAt(r0 + 3 * x0);
    std::uint32_t left1 = wordAt(r1 + 3 * (x0 - 1)), orig1 = wordAt(r1 + 3 * x0);
    const auto upper = [&](int x) {
        const std::uint32_t next = wordAt(r1 + 3 * x + 3);
        const std::uint32_t own = ((wordAt(r0 + 3 * x) >> 2) & quarter) + ((orig1 >> 1) & half);
        left1 = own + ((left1 >> 2) & quarter);
        const std::uint32_t out = left1 | (orig1 & fourth);
        std::memcpy(r1 + 3 * x, &out, 4);
        orig1 = next;
    };
    int x = x0;
    for (; x < words; ++x) {
        const std::uint32_t next = wordAt(r0 + 3 * x + 3);
        left0 = own0 + ((left0 >> 2) & quarter);
        std::memcpy(r0 + 3 * x, &left0, 4);
        own0 = next;
        if (x - kLag >= x0) upper(x - kLag);
    }
    blurLeftTerms(r0, 3 * x, 3 * x1, 3);
    const int tail = x;
    for (x = std::max(x0, x - kLag); x < words; ++x)
        upper(x);
    blurOwnTerms(r1, r0, 3 * tail, 3 * x1);
    blurLeftTerms(r1, 3 * tail, 3 * x1, 3);
}

// Each byte from the already smoothed byte to its left and the one below.
// At 24 bits the rows go two at a time, in two strips of columns; a last
// odd row, and rows of 8 bits, run in order on one thread.
void blur(const Rows& p) {
    if (p.height < 2 || p.width < 2) return;
    int y = 1;
    if (p.bpp == 3 && p.width >= 3 && hasBytePermutes()) {
        // Sixteen rows at a time where the processor has the byte permutes.
        const int waves = (p.height - 1) / kColourWaveRows;
        inStripPairs(p, waves, blurWaves);
        for (; y < 1 + kColourWaveRows * waves; ++y) {
            blurOwnTerms(p.row(y), p.row(y - 1), p.bytes() - 3, p.bytes());
            blurLeftTerms(p.row(y), p.bytes() - 3, p.bytes(), 3);
        }
    } else if (p.bpp == 3 && p.width >= 3) {
        const int pairs = (p.height - 1) / 2;
        inColumnStrips(p, pairs, [&](int b, int x0, int x1) {
            const int y0 = 1 + 2 * b;
            blurOwnTerms(p.row(y0), p.row(y0 - 1), 3 * x0, 3 * x1);
            blurColourPair(p.row(y0), p.row(y0 + 1), x0, x1);
        });
        // The last pixel of each row, left out of the strips.
        for (; y < 1 + 2 * pairs; ++y) {
            blurOwnTerms(p.row(y), p.row(y - 1), p.bytes() - 3, p.bytes());
            blurLeftTerms(p.row(y), p.bytes() - 3, p.bytes(), 3);
        }
    }
    for (; y < p.height; ++y) {
        blurOwnTerms(p.row(y), p.row(y - 1), p.bpp, p.bytes());
        blurLeftTerms(p.row(y), p.bpp, p.bytes(), p.bpp);
    }
}

// Bytes [from, to) of a sharpened row into `out`, which may be the row
// itself: a byte's right neighbour is read before it is replaced. Every term
// fits 16 bits, so the sums are kept in 16-bit lanes.
template <int Bpp, int Self, int K>
inline void sharpenRow(const Byte* r, const Byte* above, Byte* out, int from, int to) {
    for (int i = from; i < to; ++i) {
        const auto v = static_cast<std::int16_t>(Self * r[i] - K * ((above[i] + 1) >> 1) -
                                                 K * (r[i + Bpp] >> 1));
        out[i] = static_cast<Byte>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

VECTOR_CLONES void sharpenColourRow(const Byte* r, const Byte* above, Byte* out, int n) {
    sharpenRow<3, 3, 2>(r, above, out, 3, n - 3);
}

VECTOR_CLONES void sharpenIndexRow(const Byte* r, const Byte* above, Byte* out, int n) {
    sharpenRow<1, 4, 3>(r, above, out, 1, n - 1);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VOXA_SHARPEN_IN_PLACE 1
// Sharpens bytes bpp .. n - bpp - 1 of row r in place, 32 bytes a step, each
// step reading its bytes and those bpp on before storing. The halved
// neighbours, ceil(a / 2) + floor(r / 2), fit a byte; Self x v - K x that is
// worked out in 16-bit lanes, and the packing to bytes clamps it.
template <int Bpp, int Self, int K>
[[gnu::target("avx2")]] void sharpenInPlace(Byte* r, const Byte* above, int n) {
    const __m256i zero = _mm256_setzero_si256(), low7 = _mm256_set1_epi8(0x7F);
    const __m256i self = _mm256_set1_epi16(Self), k = _mm256_set1_epi16(K);
    int i = Bpp;
    for (; i + 32 + Bpp <= n - Bpp; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r + i));
        const __m256i right = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r + i + Bpp));
        const __m256i up = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(above + i));
        const __m256i halves = _mm256_add_epi8(_mm256_avg_epu8(up, zero),
                                               _mm256_and_si256(_mm256_srli_epi16(right, 1), low7));
        const __m256i lo =
            _mm256_sub_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(v, zero), self),
                             _mm256_mullo_epi16(_mm256_unpacklo_epi8(halves, zero), k));
        const __m256i hi =
            _mm256_sub_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(v, zero), self),
                             _mm256_mullo_epi16(_mm256_unpackhi_epi8(halves, zero), k));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(r + i), _mm256_packus_epi16(lo, hi));
    }
    sharpenRow<Bpp, Self, K>(r, above, r, i, n - Bpp);
}
#endif

// The neighbours above and to the right are not yet processed when a byte
// is, so every row is worked out from the original rows: bands of rows run
// side by side, each with a copy of the original row above its last one.
void sharpen(const Rows& p) {
    if (p.height <= 2) return;
    const int bpp = p.bpp, n = p.bytes();
    const std::vector<int> edges = rowBandEdges(p.height - 2, std::int64_t{n} * p.height);
    std::vector<std::vector<Byte>> aboveLast(edges.size());
    for (std::size_t b = 1; b + 1 < edges.size(); ++b)
        aboveLast[b - 1].assign(p.row(edges[b] + 1), p.row(edges[b] + 1) + n);
#if defined(VOXA_SHARPEN_IN_PLACE)
    const bool inPlace = __builtin_cpu_supports("avx2");
#else
    const bool inPlace = false;
#endif
    forEachRowBand(edges, [&](int first, int last) {
        const std::size_t band = std::find(edges.begin(), edges.end(), first) - edges.begin();
        std::vector<Byte> out(inPlace ? 0 : n);
        for (int y = first + 1; y < last + 1; ++y) {
            Byte* r = p.row(y);
            const Byte* above =
                y == last && !aboveLast[band].empty() ? aboveLast[band].data() : p.row(y + 1);
#if defined(VOXA_SHARPEN_IN_PLACE)
            if (inPlace) {
                (bpp == 3 ? sharpenInPlace<3, 3, 2> : sharpenInPlace<1, 4, 3>)(r, above, n);
                continue;
            }
#endif
            (bpp == 3 ? sharpenColourRow : sharpenIndexRow)(r, above, out.data(), n);
            if (n > 2 * bpp) std::memcpy(r + bpp, out.data() + bpp, n - 2 * bpp);
        }
    });
}

// Pixels [x0, x1) of a row of blur II, x0 at least 1, with the left pixel's
// bytes carried along in registers.
template <int Bpp> void blurIIPiece(Byte* r, const Byte* below, int x0, int x1) {
    constexpr int near = Bpp == 3 ? 40 : 16, close = Bpp == 3 ? 16 : 6;
    int l[Bpp];
    for (int i = 0; i < Bpp; ++i)
        l[i] = r[(x0 - 1) * Bpp + i];
    for (int x = x0; x < x1; ++x) {
        Byte* at = r + x * Bpp;
        const Byte* under = below + x * Bpp;
        int c[Bpp], d[Bpp], cl = 0, ld = 0, cd = 0;
        for (int i = 0; i < Bpp; ++i) {
            c[i] = at[i];
            d[i] = under[i];
            cl += std::abs(c[i] - l[i]);
            ld += std::abs(l[i] - d[i]);
            cd += std::abs(c[i] - d[i]);
        }
        if (cl < near && ld < near) {
            for (int i = 0; i < Bpp; ++i)
                l[i] = (c[i] + 2 * (l[i] + d[i])) / 5;
        } else if (cl < close) {
            for (int i = 0; i < Bpp; ++i)
                l[i] = (l[i] + 2 * c[i]) / 3;
        } else if (cd < close) {
            for (int i = 0; i < Bpp; ++i)
                l[i] = (d[i] + 2 * c[i]) / 3;
        } else {
            for (int i = 0; i < Bpp; ++i)
                l[i] = c[i];
        }
        for (int i = 0; i < Bpp; ++i)
            at[i] = static_cast<Byte>(l[i]);
    }
}

#if defined(__SSE2__)
// The same at 24 bits with the three bytes of a pixel in vector lanes: one
// sum of absolute differences gives each of the three distances, and the
// blends are 16-bit multiplies by reciprocals (exact for sums up to 1275 and
// 765). Pixels are read as words, the fourth byte (the next pixel's first)
// masked off and stored back as it was; the word of the next pixel is read
// before the store that overlaps it. x1 is at most the last pixel, so no word
// reaches past the row's pixels and their padding or the row above.
void blurIIColourPiece(Byte* r, const Byte* below, int x0, int x1) {
    const auto word = [](const Byte* at) {
        int v;
        std::memcpy(&v, at, 4);
        return _mm_cvtsi32_si128(v);
    };
    const __m128i zero = _mm_setzero_si128(), pixel = _mm_cvtsi32_si128(0x00FFFFFF);
    const __m128i fifth = _mm_set1_epi16(13108), third = _mm_set1_epi16(21846);
    __m128i l8 = _mm_and_si128(word(r + 3 * (x0 - 1)), pixel);
    __m128i l16 = _mm_unpacklo_epi8(l8, zero);
    __m128i own = word(r + 3 * x0);
    for (int x = x0; x < x1; ++x) {
        Byte* at = r + 3 * x;
        const __m128i next = word(at + 3);
        const Byte* under = below + 3 * x;
        const __m128i d8 = _mm_and_si128(word(under), pixel);
        const __m128i c8 = _mm_and_si128(own, pixel);
        const __m128i pair = _mm_sad_epu8(_mm_unpacklo_epi64(c8, c8), _mm_unpacklo_epi64(l8, d8));
        const int cl = _mm_cvtsi128_si32(pair), cd = _mm_extract_epi16(pair, 4);
        const int ld = _mm_cvtsi128_si32(_mm_sad_epu8(l8, d8));
        const __m128i c16 = _mm_unpacklo_epi8(c8, zero), d16 = _mm_unpacklo_epi8(d8, zero);
        if (cl < 40 && ld < 40)
            l16 = _mm_mulhi_epu16(_mm_add_epi16(c16, _mm_slli_epi16(_mm_add_epi16(l16, d16), 1)),
                                  fifth);
        else if (cl < 16)
            l16 = _mm_mulhi_epu16(_mm_add_epi16(l16, _mm_slli_epi16(c16, 1)), third);
        else if (cd < 16)
            l16 = _mm_mulhi_epu16(_mm_add_epi16(d16, _mm_slli_epi16(c16, 1)), third);
        else
            l16 = c16;
        l8 = _mm_packus_epi16(l16, zero);
        const int out = _mm_cvtsi128_si32(_mm_or_si128(l8, _mm_andnot_si128(pixel, own)));
        std::memcpy(at, &out, 4);
        own = next;
    }
}
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VOXA_BLUR_II_WAVEFRONT 1
// Rows of blur II taken together by the wavefront below.
constexpr int kWaveRows = 8;

// The pixels at q, q + s, q + 2s and q + 3s, one to a 64-bit lane, a byte to
// a 16-bit word; the fourth word of each holds the next pixel's first byte.
[[gnu::target("avx2")]] inline __m256i fourPixels(const Byte* q, std::ptrdiff_t s) {
    __m128i v = _mm_cvtsi32_si128(int(wordAt(q)));
    v = _mm_insert_epi32(v, int(wordAt(q + s)), 1);
    v = _mm_insert_epi32(v, int(wordAt(q + 2 * s)), 2);
    v = _mm_insert_epi32(v, int(wordAt(q + 3 * s)), 3);
    return _mm256_cvtepu8_epi16(v);
}

// Stores the low three words of the four 64-bit lanes, as bytes, at q, q + s,
// q + 2s and q + 3s, each with the fourth word as its fourth byte.
[[gnu::target("avx2")]] inline void storeFourPixels(Byte* q, std::ptrdiff_t s, __m256i v) {
    const __m256i packed = _mm256_packus_epi16(v, v);
    const __m128i lo = _mm256_castsi256_si128(packed), hi = _mm256_extracti128_si256(packed, 1);
    const int bytes[4] = {_mm_cvtsi128_si32(lo), _mm_extract_epi32(lo, 1), _mm_cvtsi128_si32(hi),
                          _mm_extract_epi32(hi, 1)};
    for (int j = 0; j < 4; ++j)
        std::memcpy(q + j * s, &bytes[j], 4);
}

// kWaveRows rows of 24-bit blur II at once, from row r0 up, rows `stride`
// bytes apart, row j of them trailing row j - 1 by one pixel, so that every
// pixel's lower neighbour was finished a step before: each 64-bit lane of a
// register holds one row's pixel in 16-bit words, four rows to a register,
// and the pixel below a lane's is the previous step's result of the lane
// before (the lowest lane's comes from the finished row below r0). The
// registers make chains of their own within a step. The three cases are all
// worked out and the one that holds is chosen by masks, so no branch waits on
// the data. Every word is read a step before the store that overlaps it, and
// the fourth byte (the next pixel's first) is put back as it was read. The
// band's pixels [x0, x1) are done, x0 at least 1 and x1 at most the last
// pixel: the words read reach one byte past pixel x1 of the band's rows and
// past pixel x1 - 2 of the row below. The leading and trailing triangles go
// pixel by pixel. Needs x1 - x0 of at least kWaveRows.
[[gnu::target("avx2")]] void blurIIEightRowWave(Byte* r0, std::ptrdiff_t stride, int x0, int x1) {
    constexpr int n = kWaveRows / 4;
    const auto row = [&](int j) { return r0 + j * stride; };
    for (int j = 0; j + 1 < kWaveRows; ++j)
        blurIIPiece<3>(row(j), row(j - 1), x0, x0 + kWaveRows - 1 - j);
    const __m256i keep3 = _mm256_set1_epi64x(0x0000FFFFFFFFFFFF);
    const __m256i fifth = _mm256_set1_epi16(13108), third = _mm256_set1_epi16(21846);
    const __m256i near = _mm256_set1_epi64x(40), close = _mm256_set1_epi64x(16);
    // Lane j of a step at pixel t of row 0 is at q + j * s, q = r0 + 3t.
    const std::ptrdiff_t s = stride - 3;
    const Byte* below = row(-1);
    __m256i prev[n], next[n];
    {
        Byte* q = r0 + 3 * (x0 + kWaveRows - 1);
        for (int k = 0; k < n; ++k) {
            prev[k] = _mm256_and_si256(fourPixels(q - 3 + 4 * k * s, s), keep3);
            next[k] = fourPixels(q + 4 * k * s, s);
        }
    }
    for (int t = x0 + kWaveRows - 1; t < x1 - 1; ++t) {
        Byte* q = r0 + 3 * t;
        const __m256i under =
            _mm256_cvtepu8_epi16(_mm_cvtsi32_si128(int(wordAt(below + 3 * t) & 0xFFFFFF)));
        __m256i out[n];
        for (int k = 0; k < n; ++k) {
            const __m256i raw = next[k];
            next[k] = fourPixels(q + 3 + 4 * k * s, s);
            const __m256i c = _mm256_and_si256(raw, keep3), l = prev[k];
            const __m256i lowest =
                k == 0 ? under : _mm256_permute4x64_epi64(prev[k - 1], _MM_SHUFFLE(3, 3, 3, 3));
            const __m256i d = _mm256_blend_epi32(
                _mm256_permute4x64_epi64(l, _MM_SHUFFLE(2, 1, 0, 0)), lowest, 0x03);
            const __m256i cl = _mm256_sad_epu8(c, l), ld = _mm256_sad_epu8(l, d);
            const __m256i cd = _mm256_sad_epu8(c, d);
            const __m256i isNear = _mm256_cmpgt_epi64(near, _mm256_max_epi32(cl, ld));
            const __m256i closeL = _mm256_cmpgt_epi64(close, cl);
            const __m256i closeD = _mm256_cmpgt_epi64(close, cd);
            const __m256i c2 = _mm256_add_epi16(c, c);
            const __m256i mix = _mm256_mulhi_epu16(
                _mm256_add_epi16(c, _mm256_slli_epi16(_mm256_add_epi16(l, d), 1)), fifth);
            const __m256i fromL = _mm256_mulhi_epu16(_mm256_add_epi16(l, c2), third);
            const __m256i fromD = _mm256_mulhi_epu16(_mm256_add_epi16(d, c2), third);
            __m256i o = _mm256_blendv_epi8(c, fromD, closeD);
            o = _mm256_blendv_epi8(o, fromL, closeL);
            out[k] = _mm256_blendv_epi8(o, mix, isNear);
            storeFourPixels(q + 4 * k * s, s, _mm256_blend_epi16(out[k], raw, 0x88));
        }
        for (int k = 0; k < n; ++k)
            prev[k] = out[k];
    }
    for (int j = 0; j < kWaveRows; ++j)
        blurIIPiece<3>(row(j), row(j - 1), x1 - 1 - j, x1);
}
#endif

#if defined(VOXA_BLUR_II_WAVEFRONT)
// The rows [1, last) of 24-bit blur II as wavefronts of kWaveRows rows, in
// two strips of columns. Returns the first row left over.
int blurIIColourWaves(const Rows& p) {
    const int bands = (p.height - 2) / kWaveRows;
    inColumnStrips(p, bands, [&](int b, int x0, int x1) {
        blurIIEightRowWave(p.row(1 + kWaveRows * b), p.stride, x0, x1);
    });
    return 1 + kWaveRows * bands;
}
#endif

// Rows of 8 bits, or without the wavefront, run in order on one thread.
void blurII(const Rows& p) {
    if (p.height <= 2 || p.width <= 2) return;
    int y = 1;
    if (p.bpp == 3 && hasBytePermutes()) {
        // Sixteen rows at a time where the processor has the byte permutes.
        const int waves = (p.height - 2) / kColourWaveRows;
        inStripPairs(p, waves, blurIIWaves);
        y = 1 + kColourWaveRows * waves;
    }
#if defined(VOXA_BLUR_II_WAVEFRONT)
    else if (p.bpp == 3 && p.width >= 2 * kWaveRows + 2 && __builtin_cpu_supports("avx2"))
        y = blurIIColourWaves(p);
#endif
    for (; y < p.height - 1; ++y)
        if (p.bpp == 1)
            blurIIPiece<1>(p.row(y), p.row(y - 1), 1, p.width - 1);
        else
#if defined(__SSE2__)
            blurIIColourPiece(p.row(y), p.row(y - 1), 1, p.width - 1);
#else
            blurIIPiece<3>(p.row(y), p.row(y - 1), 1, p.width - 1);
#endif
}

// floor(v / 10) for v up to 2550, as 16-bit lanes can take it.
inline Byte tenth(std::uint16_t v) {
    return static_cast<Byte>((v * 6554u) >> 16);
}

int weigh(int m2, int m1, int c, int p1, int p2) {
    return (m2 + p2 + 2 * (m1 + 2 * c + p1)) / 10;
}

// The two pixels right of the block edge at pixel e of row r, the taps one
// pixel apart, the right-most one at pixel `last`.
void blockEdgeScalar(Byte* r, int e, int last) {
    for (int ch = 0; ch < 3; ++ch) {
        auto at = [&](int x) { return int{r[3 * x + ch]}; };
        const int a = weigh(at(e - 2), at(e - 1), at(e), at(e + 1), at(e + 2));
        const int b = weigh(at(e - 1), at(e), at(e + 1), at(e + 2), at(last));
        r[3 * e + ch] = static_cast<Byte>(a);
        r[3 * (e + 1) + ch] = static_cast<Byte>(b);
    }
}

// Bytes [from, to) of row r smoothed along the row, the taps one pixel
// apart, into out[from .. to). Worked out for every byte of the stretch,
// though only two pixels of every eight are kept, because a plain loop over
// the row runs in 16-bit lanes.
VECTOR_CLONES void edgeTaps(const Byte* r, int from, int to, Byte* out) {
    for (int i = from; i < to; ++i) {
        const auto sum =
            static_cast<std::uint16_t>(r[i - 6] + r[i + 6] + 2 * (r[i - 3] + 2 * r[i] + r[i + 3]));
        out[i] = tenth(sum);
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VOXA_EDGE_PAIRS 1
// The 16 bytes from a in the lower half, those from b in the upper.
[[gnu::target("avx2")]] inline __m256i twoPieces(const Byte* a, const Byte* b) {
    return _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)), 1);
}

// The two pixels right of the block edges at pixels 8k, k = 1 .. blocks, of
// row r, all of whose taps lie in the row, in place: two blocks a step, one
// in each half of a register. A block's taps are the 18 bytes from 6 before
// its edge, read as the 16 from 6 before and the 16 from 4 before, and the
// 8 bytes stored from the edge carry the two after its pixels back as read.
// No block reads bytes another replaces.
[[gnu::target("avx2")]] void blockEdgePairs(Byte* r, int blocks) {
    const __m256i zero = _mm256_setzero_si256(), tenth = _mm256_set1_epi16(6554);
    int k = 1;
    for (; k <= blocks; k += 2) {
        Byte* e0 = r + 24 * k;
        Byte* e1 = k + 1 <= blocks ? e0 + 24 : e0; // an odd last block goes twice
        const __m256i u = twoPieces(e0 - 6, e1 - 6), v = twoPieces(e0 - 4, e1 - 4);
        const __m256i m2 = _mm256_unpacklo_epi8(u, zero);
        const __m256i m1 = _mm256_unpacklo_epi8(_mm256_srli_si256(u, 3), zero);
        const __m256i c = _mm256_unpacklo_epi8(_mm256_srli_si256(v, 4), zero);
        const __m256i p1 = _mm256_unpacklo_epi8(_mm256_srli_si256(v, 7), zero);
        const __m256i p2 = _mm256_unpacklo_epi8(_mm256_srli_si256(v, 10), zero);
        const __m256i sum = _mm256_add_epi16(
            _mm256_add_epi16(m2, p2),
            _mm256_slli_epi16(_mm256_add_epi16(_mm256_add_epi16(m1, p1), _mm256_add_epi16(c, c)),
                              1));
        const __m256i out = _mm256_blend_epi16(_mm256_mulhi_epu16(sum, tenth), c, 0xC0);
        const __m256i bytes = _mm256_packus_epi16(out, out);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(e1), _mm256_extracti128_si256(bytes, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(e0), _mm256_castsi256_si128(bytes));
    }
}
#endif

// Rows c = e and p1 = e + 1 above the seam under row e, from rows e - 2 ..
// e + 3 as they were (each byte from the bytes at its own place only).
VECTOR_CLONES void smoothSeam(const Byte* m2, const Byte* m1, Byte* c, Byte* p1, const Byte* p2,
                              const Byte* p3, int n) {
    for (int i = 0; i < n; ++i) {
        const auto a = static_cast<std::uint16_t>(m2[i] + p2[i] + 2 * (m1[i] + 2 * c[i] + p1[i]));
        const auto b = static_cast<std::uint16_t>(m1[i] + p3[i] + 2 * (c[i] + 2 * p1[i] + p2[i]));
        c[i] = tenth(a);
        p1[i] = tenth(b);
    }
}

// Softens the seams of 8-pixel blocks. The last block's right-most tap, one
// pixel beyond the row when 8k + 3 equals the width, reads the last pixel. The
// second replaced row of each vertical seam takes its taps centred like the
// horizontal pass (rows 8k - 1 .. 8k + 3). The blocks read only pixels that
// no other block replaces, and each vertical seam only rows 8k - 2 .. 8k + 3,
// so the rows go in groups 8k - 2 .. 8k + 5, bands of groups side by side:
// each row along, and each seam as soon as its rows are done, while they are
// still in the cache.
void blockEdges(const Rows& p) {
    const int w = p.width;
    // The blocks whose taps all lie in the row, up to pixel e + 3, take them
    // from the smoothed stretch; the last one may need its tap cut to the row.
    const int whole = std::max(0, (w - 4) / 8);
#if defined(VOXA_EDGE_PAIRS)
    const bool pairs = __builtin_cpu_supports("avx2");
#endif
    const int groups = (p.height + 9) / 8, lastSeam = p.height < 17 ? 0 : p.height - 9;
    forEachRowBand(groups, std::int64_t{p.bytes()} * p.height, [&](int g0, int g1) {
        std::vector<Byte> smooth(3 * std::size_t(w));
        for (int y = std::max(0, 8 * g0 - 2); y < std::min(p.height, 8 * g1 - 2); ++y) {
            Byte* r = p.row(y);
#if defined(VOXA_EDGE_PAIRS)
            if (pairs) {
                blockEdgePairs(r, whole);
            } else
#endif
            {
                if (whole > 0) edgeTaps(r, 24, 24 * whole + 6, smooth.data());
                for (int k = 1; k <= whole; ++k)
                    std::memcpy(r + 24 * k, &smooth[24 * std::size_t(k)], 6);
            }
            for (int e = 8 * (whole + 1); e + 3 <= w; e += 8)
                blockEdgeScalar(r, e, std::min(e + 3, w - 1));
            const int e = y - 3;
            if (e >= 8 && e % 8 == 0 && e <= lastSeam)
                smoothSeam(p.row(e - 2), p.row(e - 1), p.row(e), p.row(e + 1), p.row(e + 2), r,
                           p.bytes());
        }
    });
}

} // namespace

void applyFilter(PictureBuffer& picture, int value) {
    if (picture.colorsUsed != 0 || !picture.isHandled()) return;
    const int bits = picture.bitCount;
    if (bits != 8 && bits != 24) return;
    const Rows p{platform::lockBlock(picture.bitsBlock), picture.stride, picture.width,
                 picture.height, bits / 8};
    switch (value) {
    case kNegative:
        eachByte(p, negativeBytes);
        break;
    case kBrighten:
        eachByte(p, brightenBytes);
        break;
    case kDarken:
        eachByte(p, darkenBytes);
        break;
    case kGrey:
        if (bits == 24) grey(p);
        break;
    case kBlur:
        blur(p);
        break;
    case kSharpen:
        sharpen(p);
        break;
    case kBlurII:
        blurII(p);
        break;
    case kBlockEdgeSmoothing:
        if (bits == 24) blockEdges(p);
        break;
    default:
        break;
    }
}
