#include "picture/scaling.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "picture/column_gather.h"
#include "picture/row_bands.h"
#include "picture/tap_sums.h"
#include "picture/vector_clones.h"

namespace {

using Byte = unsigned char;

// Reads blue, green, red of picture pixels at 1, 2, 4, 8 or 24 bits.
struct Source {
    const Byte* bits;
    std::int64_t stride;
    int width;
    int bitCount;
    std::uint32_t colours[256]; // palette entries as blue | green << 8 | red << 16

    const Byte* row(int y) const { return bits + y * stride; }

    // How `gather` takes the columns cols[0 .. n), and second[0 .. n) where
    // given, out of 24-bit rows wholesale.
    ColumnGather plan(const std::vector<int>& cols, const std::vector<int>* second, int n) const {
        return ColumnGather(cols.data(), second ? second->data() : nullptr, bitCount == 24 ? n : 0,
                            width);
    }
    // Pixels cols[0 .. n) of row y, columns that never decrease, as
    // blue-green-red bytes at out, out + 3, ..., and where `second` is given
    // its pixels at outSecond; `wide` (planned for these columns) takes those
    // it covers. The others are stored as four bytes each, so each output
    // needs one byte to spare. Row `ahead` (none if negative), wanted soon,
    // is asked for along the way: rows come in faster so than when the
    // processor finds each new one for itself.
    void gather(int y, const int* cols, int n, Byte* out, const ColumnGather& wide,
                const int* second = nullptr, Byte* outSecond = nullptr, int ahead = -1) const {
        const Byte* r = row(y);
        if (bitCount != 24) {
            for (int k = 0; k < n; ++k, out += 3)
                std::memcpy(out, &colours[index(r, cols[k])], 4);
            for (int k = 0; second && k < n; ++k, outSecond += 3)
                std::memcpy(outSecond, &colours[index(r, second[k])], 4);
            return;
        }
        const Byte* soon = ahead >= 0 ? row(ahead) : nullptr;
        wide.gather(r, out, outSecond, soon);
        gatherRest(r, cols, wide.covered(), n, out, soon);
        if (second) gatherRest(r, second, wide.covered(), n, outSecond, nullptr);
    }
    // Pixels cols[from .. n) of the 24-bit row r to out + 3 from, ..., the
    // same bytes of `soon` asked for unless it is null. Four bytes are read
    // too, except at the last pixel, which may end the block.
    void gatherRest(const Byte* r, const int* cols, int from, int n, Byte* out,
                    const Byte* soon) const {
        out += 3 * from;
        const int whole =
            std::max(from, static_cast<int>(std::lower_bound(cols, cols + n, width - 1) - cols));
        for (int k = from; k < whole; ++k, out += 3) {
            if (soon && k % 16 == 0) __builtin_prefetch(soon + 3 * std::int64_t{cols[k]});
            std::memcpy(out, r + 3 * std::int64_t{cols[k]}, 4);
        }
        for (int k = whole; k < n; ++k, out += 3)
            std::memcpy(out, r + 3 * std::int64_t{cols[k]}, 3);
    }
    // Pixels x0 .. x1 - 1 of row y as blue-green-red bytes: the row itself at
    // 24 bits, otherwise looked up into `scratch`.
    const Byte* span(int y, int x0, int x1, std::vector<Byte>& scratch) const {
        if (bitCount == 24) return row(y) + 3 * std::int64_t{x0};
        scratch.resize(3 * std::size_t(x1 - x0) + 1);
        const Byte* r = row(y);
        Byte* out = scratch.data();
        for (int x = x0; x < x1; ++x, out += 3)
            std::memcpy(out, &colours[index(r, x)], 4);
        return scratch.data();
    }
    // Palette index of pixel x of row r.
    int index(const Byte* r, int x) const {
        return bitCount == 8 ? r[x] : pixelIndex(r, x, bitCount);
    }
};

// The part of the rectangle that lies on the surface, in rectangle pixels.
struct Target {
    Byte* base;
    std::int64_t stride;
    int destX, destY, width, height;
    int i0, i1, j0, j1;
    Byte* at(int i, int j) const {
        return base + (destY + j) * stride + 3 * std::int64_t{destX + i};
    }
    int columns() const { return i1 - i0; }
    int rows() const { return j1 - j0; }
    std::int64_t bytes() const { return std::int64_t{3} * columns() * rows(); }
    // Runs work(first, last) on bands of the visible rows [j0, j1), side by
    // side on the cores.
    template <typename Work> void eachRowBand(Work work) const {
        forEachRowBand(rows(), bytes(), [&](int first, int last) { work(j0 + first, j0 + last); });
    }
};

// In 64 bits: from a very wide picture to a few columns the step passes an int.
std::int64_t fixedStep(int from, int to, double one) {
    return to > 1 ? static_cast<std::int64_t>(double(from - 1) / double(to - 1) * one) : 0;
}

// Source line picked for each target position by the enlarging error term:
// the first source pixel once, the last one taking the remainder.
std::vector<int> enlargeMap(int src, int dst) {
    std::vector<int> map(dst);
    int e = 1 - src, x = 0;
    for (int i = 0; i < dst; ++i) {
        map[i] = std::min(x, src - 1);
        e += 2 * (src - 1);
        if (e >= 0) {
            e -= 2 * (dst - 1);
            ++x;
        }
    }
    return map;
}

// Source line that ends up in each target position when the reducing error
// term walks the source and overwrites; -1 where nothing is written.
std::vector<int> reduceMap(int src, int dst) {
    std::vector<int> map(dst, -1);
    int e = 1 - dst, c = 0;
    for (int x = 0; x < src; ++x) {
        e += 2 * (dst - 1);
        if (e >= 0) {
            if (c < dst) map[c] = x;
            ++c;
            e -= 2 * (src - 1);
        }
    }
    return map;
}

// Row maps differ from column maps: every source row is written into the
// current target row, so a target row keeps the last row before it moves on.
std::vector<int> reduceRowMap(int src, int dst) {
    std::vector<int> map(dst, -1);
    int r = 1 - dst, k = 0;
    for (int y = 0; y < src; ++y) {
        if (k < dst) map[k] = y;
        r += 2 * (dst - 1);
        if (r >= 0) {
            r -= 2 * (src - 1);
            ++k;
        }
    }
    return map;
}

// Target pixel (i, j) takes source pixel (cols[i], rows[j]). Rows mapped to
// -1 are left alone, and so are the columns from the first one mapped to -1
// (the reducing map leaves at most a tail of the line unset).
void drawMapped(const Source& s, const Target& t, const std::vector<int>& cols,
                const std::vector<int>& rows) {
    const auto first = cols.begin() + t.i0;
    const int n = static_cast<int>(std::find(first, cols.begin() + t.i1, -1) - first);
    if (n == 0) return;
    const std::vector<int> picked(first, first + n);
    const ColumnGather wide = s.plan(picked, nullptr, n);
    t.eachRowBand([&](int j0, int j1) {
        std::vector<Byte> line(3 * std::size_t(n) + 1);
        int gathered = -1;
        for (int j = j0; j < j1; ++j) {
            if (rows[j] < 0) continue;
            if (rows[j] != gathered) s.gather(rows[j], picked.data(), n, line.data(), wide);
            gathered = rows[j];
            std::memcpy(t.at(t.i0, j), line.data(), 3 * std::size_t(n));
        }
    });
}

std::vector<int> roundedMap(int src, int dst) {
    std::vector<int> map(dst);
    const std::int64_t step = fixedStep(src, dst, 4096.0);
    for (int i = 0; i < dst; ++i) {
        const std::int64_t p = i * step;
        map[i] = static_cast<int>(std::min<std::int64_t>((p >> 11) - (p >> 12), src - 1));
    }
    return map;
}

// Left (or lower) neighbour, the one after it and the 8-bit weight of the
// second for each target position.
struct LinearTap {
    int at;
    int next;
    int fraction;
};

// A position on the last source pixel blends the last pair with weight 256,
// which is the last pixel alone: it is tapped as that pixel with weight 0,
// so every fraction stays below 256.
std::vector<LinearTap> linearTaps(int src, int dst) {
    std::vector<LinearTap> taps(dst);
    const std::int64_t step = fixedStep(src, dst, 65536.0);
    for (int i = 0; i < dst; ++i) {
        const std::int64_t p = i * step;
        const int x = static_cast<int>(p >> 16);
        const int f = static_cast<int>((p - (std::int64_t{x} << 16)) >> 8);
        if (src == 1 || x >= src - 1)
            taps[i] = {src - 1, src - 1, 0};
        else
            taps[i] = {x, x + 1, f};
    }
    return taps;
}

// The bilinear blend of one target row from the gathered neighbours: a and b
// the left and right ones in the lower source row, c and d in the upper.
// With the cross weight t = fx * fy / 256 rounded down, the blend
//   a + ((t (d - b - c + a) + fx (b - a) + fy (c - a)) >> 8)
// equals (weights summing to 256, none negative) the sum
//   (256 - fx - fy + t) a + (fx - t) b + (fy - t) c + t d, shifted right by 8,
// which is below 65536: 16-bit lanes hold it exactly whatever they wrap to on
// the way.
VECTOR_CLONES void blendRow(const Byte* a, const Byte* b, const Byte* c, const Byte* d,
                            const std::uint16_t* fx, int fy, Byte* out, int count) {
    const auto wy = static_cast<std::uint16_t>(fy);
    for (int k = 0; k < count; ++k) {
        const std::uint16_t p00 = a[k], p10 = b[k], p01 = c[k], p11 = d[k], wx = fx[k];
        const auto t = static_cast<std::uint16_t>(static_cast<std::uint16_t>(wx * wy) >> 8);
        const auto sum = static_cast<std::uint16_t>((p00 << 8) + wx * (p10 - p00) +
                                                    wy * (p01 - p00) + t * (p11 - p10 - p01 + p00));
        out[k] = static_cast<Byte>(sum >> 8);
    }
}

// Source rows gathered at the target columns' left and right neighbours, the
// last two kept: neighbouring target rows mostly share their source rows.
class GatheredRows {
public:
    struct Row {
        std::vector<Byte> left, right;
        int y = -1;
        long used = 0;
    };

    GatheredRows(const Source& s, const std::vector<int>& at, const std::vector<int>& next,
                 const ColumnGather& wide)
        : source_(s), at_(at), next_(next), wide_(wide) {
        for (Row& row : rows_) {
            row.left.resize(3 * at.size() + 1);
            row.right.resize(3 * at.size() + 1);
        }
    }
    // Source row y gathered, row `ahead` asked for along the way (none if
    // negative); stays valid while one other row is asked for.
    const Row& get(int y, int ahead) {
        Row* row = rows_[0].used <= rows_[1].used ? &rows_[0] : &rows_[1];
        for (Row& kept : rows_)
            if (kept.y == y) row = &kept;
        if (row->y != y) {
            const int n = static_cast<int>(at_.size());
            source_.gather(y, at_.data(), n, row->left.data(), wide_, next_.data(),
                           row->right.data(), ahead);
            row->y = y;
        }
        row->used = ++clock_;
        return *row;
    }

private:
    const Source& source_;
    const std::vector<int>& at_;
    const std::vector<int>& next_;
    const ColumnGather& wide_;
    Row rows_[2];
    long clock_ = 0;
};

void drawLinear(const Source& s, const Target& t, int w, int h) {
    const auto cols = linearTaps(w, t.width);
    const auto rows = linearTaps(h, t.height);
    const int n = t.columns();
    std::vector<int> at(n), next(n);
    std::vector<std::uint16_t> fx(3 * std::size_t(n));
    for (int k = 0; k < n; ++k) {
        const LinearTap& c = cols[t.i0 + k];
        at[k] = c.at;
        next[k] = c.next;
        std::fill_n(&fx[3 * std::size_t(k)], 3, static_cast<std::uint16_t>(c.fraction));
    }
    const ColumnGather wide = s.plan(at, &next, n);
    t.eachRowBand([&](int j0, int j1) {
        GatheredRows gathered(s, at, next, wide);
        for (int j = j0; j < j1; ++j) {
            const LinearTap& r = rows[j];
            // The source rows of the target row after next come in while
            // this one is drawn.
            const bool soon = j + 2 < j1;
            const GatheredRows::Row& low = gathered.get(r.at, soon ? rows[j + 2].at : -1);
            const GatheredRows::Row& high = gathered.get(r.next, soon ? rows[j + 2].next : -1);
            blendRow(low.left.data(), low.right.data(), high.left.data(), high.right.data(),
                     fx.data(), r.fraction, t.at(t.i0, j), 3 * n);
        }
    });
}

// Where the samples of each target position fall, as `per` taps for every
// position (padded with weight 0): tap q of position i reads the line of sums
// at offset[q * positions + i] (3 x (line - first)) with weight
// weight[(q * positions + i) * 3 + channel], the number of its samples on
// that line.
struct AverageTaps {
    std::vector<int> offset;
    std::vector<std::uint16_t> weight;
    int per = 0;
    int first = 0; // lowest source line sampled
    int last = 0;  // highest
};

// Calls f(line, samples) for the distinct lines that the samples
// (start + k x grid) >> 12, k < count, fall on; the lines only grow.
template <typename F> void eachSampledLine(std::int64_t start, std::int64_t grid, int count, F f) {
    int line = static_cast<int>(start >> 12), samples = 0;
    for (int k = 0; k < count; ++k) {
        const int at = static_cast<int>((start + k * grid) >> 12);
        if (at != line) {
            f(line, samples);
            line = at;
            samples = 0;
        }
        ++samples;
    }
    f(line, samples);
}

AverageTaps averageTaps(int from, int to, std::int64_t step, std::int64_t grid, int count) {
    AverageTaps taps;
    taps.first = static_cast<int>((from * step) >> 12);
    for (int i = from; i < to; ++i) {
        int distinct = 0;
        eachSampledLine(i * step, grid, count, [&](int line, int) {
            ++distinct;
            taps.last = line;
        });
        taps.per = std::max(taps.per, distinct);
    }
    const std::size_t positions = std::size_t(to - from);
    taps.offset.assign(positions * taps.per, 0);
    taps.weight.assign(3 * positions * taps.per, 0);
    for (std::size_t i = 0; i < positions; ++i) {
        std::size_t q = 0;
        eachSampledLine((from + std::int64_t(i)) * step, grid, count, [&](int line, int samples) {
            const std::size_t at = q++ * positions + i;
            taps.offset[at] = 3 * (line - taps.first);
            std::fill_n(&taps.weight[3 * at], 3, static_cast<std::uint16_t>(samples));
        });
    }
    return taps;
}

// sum[b] (+)= weight x row[b] for b < n, set rather than added to when
// `first`.
template <typename Sum>
inline void addWeightedImpl(Sum* sum, const Byte* row, int weight, std::size_t n, bool first) {
    const auto w = static_cast<Sum>(weight);
    if (first)
        for (std::size_t b = 0; b < n; ++b)
            sum[b] = static_cast<Sum>(w * row[b]);
    else
        for (std::size_t b = 0; b < n; ++b)
            sum[b] = static_cast<Sum>(sum[b] + w * row[b]);
}

VECTOR_CLONES void addWeighted(std::uint16_t* sum, const Byte* row, int weight, std::size_t n,
                               bool first) {
    addWeightedImpl(sum, row, weight, n, first);
}

VECTOR_CLONES void addWeighted(std::uint32_t* sum, const Byte* row, int weight, std::size_t n,
                               bool first) {
    addWeightedImpl(sum, row, weight, n, first);
}

void addWeighted(std::uint64_t* sum, const Byte* row, int weight, std::size_t n, bool first) {
    addWeightedImpl(sum, row, weight, n, first);
}

// acc[b] (+)= weight[b] x tap[b] for b < n, set rather than added to when
// `first`.
template <typename Sum>
inline void addWeightedImpl(Sum* acc, const Sum* tap, const std::uint16_t* weight, std::size_t n,
                            bool first) {
    if (first)
        for (std::size_t b = 0; b < n; ++b)
            acc[b] = static_cast<Sum>(weight[b] * tap[b]);
    else
        for (std::size_t b = 0; b < n; ++b)
            acc[b] = static_cast<Sum>(acc[b] + weight[b] * tap[b]);
}

VECTOR_CLONES void addWeighted(std::uint16_t* acc, const std::uint16_t* tap,
                               const std::uint16_t* weight, std::size_t n, bool first) {
    addWeightedImpl(acc, tap, weight, n, first);
}

VECTOR_CLONES void addWeighted(std::uint32_t* acc, const std::uint32_t* tap,
                               const std::uint16_t* weight, std::size_t n, bool first) {
    addWeightedImpl(acc, tap, weight, n, first);
}

void addWeighted(std::uint64_t* acc, const std::uint64_t* tap, const std::uint16_t* weight,
                 std::size_t n, bool first) {
    addWeightedImpl(acc, tap, weight, n, first);
}

// out[b] = floor(sum[b] / count) for sums below 2^16, with `reciprocal` =
// 1 / count. Such a sum is exact in a float, and (sum + 1/2) / count lies at
// least 1/(2 count) from a whole number, far beyond the rounding of the
// product: truncating it gives the quotient.
VECTOR_CLONES void storeQuotients(const std::uint16_t* sum, float reciprocal, Byte* out,
                                  std::size_t n) {
    for (std::size_t b = 0; b < n; ++b) {
        const auto x = static_cast<float>(static_cast<int>(sum[b]));
        out[b] = static_cast<Byte>(static_cast<int>((x + 0.5f) * reciprocal));
    }
}

// Area average on a grid of 2048 or 1024 (20.12 units). The samples of a
// target pixel are the crossings of its sample rows and sample columns, so
// the sums are taken in two passes: down the sample rows of a target row for
// every source column, each row once with its number of samples as weight,
// then across the sample columns of each target pixel, a tap at a time over
// the whole row. `Sum` holds the sum of all samples of a target pixel.
template <typename Sum>
void drawAverage(const Source& s, const Target& t, std::int64_t stepX, std::int64_t stepY,
                 int gridShift) {
    const std::int64_t grid = std::int64_t{1} << gridShift;
    const int perRow = static_cast<int>(((stepX - 1) >> gridShift) + 1);
    const int perColumn = static_cast<int>(((stepY - 1) >> gridShift) + 1);
    const auto count = static_cast<Sum>(std::int64_t{perRow} * perColumn);
    const AverageTaps cols = averageTaps(t.i0, t.i1, stepX, grid, perRow);
    const int n = t.columns();
    const std::size_t bytes = 3 * std::size_t(n);
    const float reciprocal = 1.0f / static_cast<float>(count);
    // One element to spare after each line: pixels are copied as four.
    const std::size_t lineSize = 3 * std::size_t(cols.last - cols.first + 1) + 1;
    const TapSums wide = sizeof(Sum) == 2 ? TapSums(cols.offset, cols.weight, n, cols.per, lineSize)
                                          : TapSums({}, {}, 0, 0, 0);
    t.eachRowBand([&](int j0, int j1) {
        std::vector<Sum> sums(lineSize);
        std::vector<Sum> tap(bytes + 1), total(bytes);
        std::vector<Byte> scratch;
        for (int j = j0; j < j1; ++j) {
            bool firstRow = true;
            eachSampledLine(j * stepY, grid, perColumn, [&](int y, int samples) {
                const Byte* row = s.span(y, cols.first, cols.last + 1, scratch);
                addWeighted(sums.data(), row, samples, sums.size() - 1, firstRow);
                firstRow = false;
            });
            const Sum* line = sums.data();
            Byte* out = t.at(t.i0, j);
            int done = 0; // positions finished
            if constexpr (sizeof(Sum) == 2) {
                wide.apply(line, reciprocal, out);
                done = wide.covered();
            }
            const std::size_t from = 3 * std::size_t(done), rest = bytes - from;
            Sum* gathered = tap.data();
            Sum* acc = total.data();
            const int positions = n, taps = cols.per;
            for (int q = 0; q < taps; ++q) {
                const int* offset = &cols.offset[std::size_t(q) * positions];
                for (int i = done; i < positions; ++i)
                    std::memcpy(gathered + 3 * i, line + offset[i], 4 * sizeof(Sum));
                addWeighted(acc + from, gathered + from,
                            &cols.weight[std::size_t(q) * bytes + from], rest, q == 0);
            }
            if constexpr (sizeof(Sum) == 2)
                storeQuotients(acc + from, reciprocal, out + from, rest);
            else
                for (std::size_t b = from; b < bytes; ++b)
                    out[b] = static_cast<Byte>(acc[b] / count);
        }
    });
}

void drawAverage(const Source& s, const Target& t, int w, int h, int gridShift) {
    const auto stepX = static_cast<std::int64_t>(double(w) / double(t.width) * 4096.0);
    const auto stepY = static_cast<std::int64_t>(double(h) / double(t.height) * 4096.0);
    const std::int64_t perRow = ((stepX - 1) >> gridShift) + 1;
    const std::int64_t perColumn = ((stepY - 1) >> gridShift) + 1;
    // The narrowest sums that hold a whole target pixel's samples: a picture
    // half a million pixels wide reduced to one pixel gathers 2^25 of them.
    const std::int64_t largest = perRow * perColumn * 255;
    if (largest < std::int64_t{1} << 16)
        drawAverage<std::uint16_t>(s, t, stepX, stepY, gridShift);
    else if (largest < std::int64_t{1} << 32)
        drawAverage<std::uint32_t>(s, t, stepX, stepY, gridShift);
    else
        drawAverage<std::uint64_t>(s, t, stepX, stepY, gridShift);
}

void drawOneToOne(const Source& s, const Target& t, int bufferWidth, int bufferHeight) {
    if (s.bitCount == 24 && bufferWidth == t.width && bufferHeight == t.height) {
        std::memcpy(t.base, s.bits, static_cast<std::size_t>(s.stride * t.height));
        return;
    }
    t.eachRowBand([&](int j0, int j1) {
        std::vector<Byte> scratch;
        for (int j = j0; j < j1; ++j)
            std::memcpy(t.at(t.i0, j), s.span(j, t.i0, t.i1, scratch),
                        3 * std::size_t(t.columns()));
    });
}

} // namespace

void setEngines(PictureBuffer& picture, int enlarge, int reduce, int mixed) {
    picture.enlargeEngine = enlarge;
    picture.reduceEngine = reduce;
    picture.mixedEngine = mixed;
}

void scaleInto(PictureBuffer& pic, unsigned char* target, int destX, int destY, int destWidth,
               int destHeight, int destBufferWidth, int destBufferHeight) {
    if (!target || pic.bitCount == 16 || !pic.isHandled()) return;
    if (destWidth < 1 || destHeight < 1 || destBufferWidth < 1 || destBufferHeight < 1) return;
    Source s{platform::lockBlock(pic.bitsBlock), pic.stride, pic.width, pic.bitCount, {}};
    if (pic.bitCount != 24) {
        unsigned char colours[256][3];
        fillPalette(pic, colours);
        for (int i = 0; i < 256; ++i)
            s.colours[i] = colours[i][0] | colours[i][1] << 8 | colours[i][2] << 16;
    }
    pic.palette = platform::lockBlock(pic.headerBlock) + 40;
    pic.destX = destX;
    pic.destY = destY;
    pic.destWidth = destWidth;
    pic.destHeight = destHeight;
    pic.destBufferWidth = destBufferWidth;
    pic.destBufferHeight = destBufferHeight;

    const std::int64_t left = std::max<std::int64_t>(0, -std::int64_t{destX});
    const std::int64_t right =
        std::min<std::int64_t>(destWidth, std::int64_t{destBufferWidth} - destX);
    const std::int64_t bottom = std::max<std::int64_t>(0, -std::int64_t{destY});
    const std::int64_t top =
        std::min<std::int64_t>(destHeight, std::int64_t{destBufferHeight} - destY);
    if (left >= right || bottom >= top) return;
    const Target t{target,      rowBytes(destBufferWidth, 24),
                   destX,       destY,
                   destWidth,   destHeight,
                   int(left),   int(right),
                   int(bottom), int(top)};

    const int w = pic.width, h = pic.height, W = destWidth, H = destHeight;
    if (W > w && H > h) {
        if (pic.enlargeEngine == kNearestPoint)
            drawMapped(s, t, enlargeMap(w, W), enlargeMap(h, H));
        else
            drawLinear(s, t, w, h);
    } else if (W < w && H < h) {
        switch (pic.reduceEngine) {
        case kNearestPoint:
            drawMapped(s, t, reduceMap(w, W), reduceRowMap(h, H));
            break;
        case kLinear:
            drawLinear(s, t, w, h);
            break;
        case kAverage1:
            drawAverage(s, t, w, h, 11);
            break;
        case kAverage2:
            drawAverage(s, t, w, h, 10);
            break;
        default:
            break;
        }
    } else if (W == w && H == h) {
        drawOneToOne(s, t, destBufferWidth, destBufferHeight);
    } else if (pic.mixedEngine == kNearestPoint) {
        drawMapped(s, t, roundedMap(w, W), roundedMap(h, H));
    } else {
        drawLinear(s, t, w, h);
    }
}
