#include "platform/dib_reduce.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace platform {
namespace {

// Weights are fixed point with 8 bits: the weights of one destination pixel
// along one axis add up to exactly 256. A column sum of 8-bit channels then
// fits 16 bits (and vectorises well), a sum over both axes 24 bits.
constexpr int kWeightBits = 8;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;

// The source pixels under each destination pixel along one axis, with
// their weights. Destination pixel d covers [d * sourceLength, (d + 1) *
// sourceLength) in units where a source pixel is `length` long.
struct AxisTaps {
    std::vector<int> first; // first source pixel of each destination pixel
    std::vector<int> count;
    std::vector<int> offset; // into weights
    std::vector<std::uint16_t> weights;
    int maxCount = 0;
};

AxisTaps axisTaps(int sourceLength, int length) {
    AxisTaps taps;
    taps.first.resize(static_cast<std::size_t>(length));
    taps.count.resize(static_cast<std::size_t>(length));
    taps.offset.resize(static_cast<std::size_t>(length));
    const std::int64_t span = sourceLength; // a destination pixel, in units
    for (int d = 0; d < length; ++d) {
        const std::int64_t begin = d * span, end = begin + span;
        const int s0 = static_cast<int>(begin / length);
        const int s1 = static_cast<int>((end - 1) / length);
        taps.first[static_cast<std::size_t>(d)] = s0;
        taps.count[static_cast<std::size_t>(d)] = s1 - s0 + 1;
        taps.offset[static_cast<std::size_t>(d)] = static_cast<int>(taps.weights.size());
        // Cumulative rounding keeps the sum at exactly kWeightOne.
        std::int64_t covered = 0;
        std::uint32_t given = 0;
        for (int s = s0; s <= s1; ++s) {
            const std::int64_t lo = std::max<std::int64_t>(std::int64_t(s) * length, begin);
            const std::int64_t hi = std::min<std::int64_t>(std::int64_t(s + 1) * length, end);
            covered += hi - lo;
            const auto upTo = static_cast<std::uint32_t>((covered * kWeightOne + span / 2) / span);
            taps.weights.push_back(static_cast<std::uint16_t>(upTo - given));
            given = upTo;
        }
        taps.maxCount = std::max(taps.maxCount, s1 - s0 + 1);
    }
    return taps;
}

// One picture row of the source part as blue-green-red bytes.
class RowReader {
public:
    RowReader(const DibLayout& layout, const unsigned char* palette, const unsigned char* bits,
              Rect source, int buffers)
        : layout_(layout), bits_(bits), source_(source),
          rowBytes_(static_cast<std::size_t>(source.width()) * 3),
          converted_(layout.bitCount == 24 ? 0 : rowBytes_ * static_cast<std::size_t>(buffers)) {
        if (layout.bitCount > 8) return;
        for (int i = 0; i < layout.usablePalette; ++i)
            for (int c = 0; c < 3; ++c)
                colours_[i][c] = palette[4 * i + c];
    }

    // The row, converted into buffer `buffer` when its depth is not 24 bits;
    // it stays valid until that buffer is used again.
    const unsigned char* row(int pictureRow, int buffer) {
        const int memoryRow = layout_.topDown ? pictureRow : layout_.height - 1 - pictureRow;
        const unsigned char* row = bits_ + std::size_t(memoryRow) * std::size_t(layout_.stride);
        if (layout_.bitCount == 24) return row + std::size_t(source_.left) * 3;
        unsigned char* const start =
            converted_.data() + rowBytes_ * static_cast<std::size_t>(buffer);
        unsigned char* out = start;
        for (int x = source_.left; x < source_.right; ++x, out += 3)
            convert(row, x, out);
        return start;
    }

private:
    void convert(const unsigned char* row, int x, unsigned char* out) const {
        switch (layout_.bitCount) {
        case 32:
            out[0] = row[4 * x], out[1] = row[4 * x + 1], out[2] = row[4 * x + 2];
            return;
        case 16: {
            // 5-5-5 words, blue lowest; each channel keeps its five bits at the top.
            const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            out[0] = static_cast<unsigned char>((v << 3) & 248);
            out[1] = static_cast<unsigned char>((v >> 2) & 248);
            out[2] = static_cast<unsigned char>((v >> 7) & 248);
            return;
        }
        case 8:
            std::copy_n(colours_[row[x]], 3, out);
            return;
        default: {
            const int bit = x * layout_.bitCount;
            const int shift = 8 - layout_.bitCount - (bit & 7);
            std::copy_n(colours_[(row[bit >> 3] >> shift) & ((1u << layout_.bitCount) - 1)], 3,
                        out);
            return;
        }
        }
    }

    const DibLayout& layout_;
    const unsigned char* bits_;
    Rect source_;
    std::size_t rowBytes_;
    std::vector<unsigned char> converted_;
    unsigned char colours_[256][3] = {}; // indexes past the stored entries are black
};

struct Job {
    const DibLayout* layout;
    const unsigned char* palette;
    const unsigned char* bits;
    Rect source;
    int width;
    const AxisTaps* columns;
    const AxisTaps* rows;
    unsigned char* out;
    std::size_t outStride;
};

// Adds up to kRowsAtOnce weighted rows into the column sums in one pass (the
// first pass of a destination row starts them from zero).
constexpr int kRowsAtOnce = 4;

template <int N, bool First>
void accumulate(std::uint16_t* __restrict sums, const unsigned char* const* rows,
                const std::uint16_t* weights, std::size_t n) {
    const unsigned char* __restrict r[N];
    std::uint16_t w[N];
    for (int k = 0; k < N; ++k)
        r[k] = rows[k], w[k] = weights[k];
    for (std::size_t i = 0; i < n; ++i) {
        std::uint16_t sum = First ? 0 : sums[i];
        for (int k = 0; k < N; ++k)
            sum = static_cast<std::uint16_t>(sum + w[k] * r[k][i]);
        sums[i] = sum;
    }
}

template <bool First>
void accumulateSome(std::uint16_t* sums, const unsigned char* const* rows,
                    const std::uint16_t* weights, int count, std::size_t n) {
    switch (count) {
    case 1:
        return accumulate<1, First>(sums, rows, weights, n);
    case 2:
        return accumulate<2, First>(sums, rows, weights, n);
    case 3:
        return accumulate<3, First>(sums, rows, weights, n);
    default:
        return accumulate<4, First>(sums, rows, weights, n);
    }
}

// Four float lanes; a pixel's blue, green and red are the first three.
typedef float Lanes __attribute__((vector_size(16)));
typedef int IntLanes __attribute__((vector_size(16)));

// One destination row from its column sums (as floats, three to a source
// pixel). Every destination pixel reads `Taps` source pixels (weights past its
// own are 0), so the inner loop has a fixed length; the row is padded for the
// pixels read past its end. Taps 0 takes the count from `columns`
// (reductions beyond kMaxFixedTaps).
template <int Taps>
void combineRow(const float* sums, const AxisTaps& columns, const float* weights, int width,
                unsigned char* out) {
    const int stride = Taps ? Taps : columns.maxCount;
    for (int x = 0; x < width; ++x, out += 4) {
        const auto dx = static_cast<std::size_t>(x);
        const float* w = weights + dx * static_cast<std::size_t>(stride);
        const float* in = sums + std::size_t(columns.first[dx]) * 3;
        const int count = Taps ? Taps : columns.count[dx];
        Lanes sum = {0.5f, 0.5f, 0.5f, 0.5f};
        for (int k = 0; k < count; ++k) {
            Lanes pixel; // blue, green, red and the next pixel's blue
            std::memcpy(&pixel, in + 3 * k, sizeof pixel);
            sum += w[k] * pixel;
        }
        const IntLanes value = __builtin_convertvector(sum, IntLanes);
        out[0] = static_cast<unsigned char>(value[0]);
        out[1] = static_cast<unsigned char>(value[1]);
        out[2] = static_cast<unsigned char>(value[2]);
        out[3] = 255;
    }
}

using CombineRow = void (*)(const float*, const AxisTaps&, const float*, int, unsigned char*);

constexpr int kMaxFixedTaps = 16;

template <int... Taps> CombineRow combinerFor(int taps, std::integer_sequence<int, Taps...>) {
    CombineRow chosen = combineRow<0>;
    bool found = false;
    ((!found && taps <= Taps + 1 ? (chosen = combineRow<Taps + 1>, found = true) : false), ...);
    return chosen;
}

// The column weights laid out `taps` to a destination pixel, scaled so that
// a sum over both axes is the channel value.
std::vector<float> paddedWeights(const AxisTaps& columns, int taps) {
    std::vector<float> padded(columns.first.size() * static_cast<std::size_t>(taps), 0.0f);
    constexpr float scale = 1.0f / float(kWeightOne * kWeightOne);
    for (std::size_t d = 0; d < columns.first.size(); ++d)
        for (int k = 0; k < columns.count[d]; ++k)
            padded[d * static_cast<std::size_t>(taps) + static_cast<std::size_t>(k)] =
                float(columns.weights[static_cast<std::size_t>(columns.offset[d] + k)]) * scale;
    return padded;
}

void toFloats(const std::uint16_t* __restrict in, float* __restrict out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        out[i] = float(in[i]);
}

void reduceRows(const Job& job, int firstRow, int endRow) {
    RowReader reader(*job.layout, job.palette, job.bits, job.source, kRowsAtOnce);
    const AxisTaps& rows = *job.rows;
    const AxisTaps& columns = *job.columns;
    const std::size_t n = static_cast<std::size_t>(job.source.width()) * 3;
    std::vector<std::uint16_t> sums(n);
    // Room for the taps a pixel near the right edge reads past the row, and
    // the lane past a pixel's red.
    std::vector<float> floats(n + std::size_t(columns.maxCount) * 3 + 1, 0.0f);
    const CombineRow combine =
        combinerFor(columns.maxCount, std::make_integer_sequence<int, kMaxFixedTaps>());
    const std::vector<float> weights = paddedWeights(columns, columns.maxCount);
    for (int d = firstRow; d < endRow; ++d) {
        const auto dy = static_cast<std::size_t>(d);
        const std::uint16_t* rowWeights = rows.weights.data() + rows.offset[dy];
        for (int k = 0; k < rows.count[dy]; k += kRowsAtOnce) {
            const int group = std::min(kRowsAtOnce, rows.count[dy] - k);
            const unsigned char* rowsOfGroup[kRowsAtOnce];
            for (int j = 0; j < group; ++j)
                rowsOfGroup[j] = reader.row(job.source.top + rows.first[dy] + k + j, j);
            if (k == 0)
                accumulateSome<true>(sums.data(), rowsOfGroup, rowWeights + k, group, n);
            else
                accumulateSome<false>(sums.data(), rowsOfGroup, rowWeights + k, group, n);
        }
        toFloats(sums.data(), floats.data(), n);
        // The next row's source rows come in while this one is combined,
        // which reads no source.
        if (d + 1 < endRow && job.layout->bitCount == 24) {
            const int from = std::max(rows.first[dy + 1], rows.first[dy] + rows.count[dy]);
            for (int y = from; y < rows.first[dy + 1] + rows.count[dy + 1]; ++y) {
                const unsigned char* row = reader.row(job.source.top + y, 0);
                for (std::size_t b = 0; b < n; b += 64)
                    __builtin_prefetch(row + b);
            }
        }
        combine(floats.data(), columns, weights.data(), job.width, job.out + dy * job.outStride);
    }
}

} // namespace

void reduceDib(const DibLayout& layout, const unsigned char* palette, const unsigned char* bits,
               Rect source, int width, int height, unsigned char* out, std::size_t outStride,
               int threads) {
    if (width <= 0 || height <= 0 || width > source.width() || height > source.height()) return;
    const AxisTaps columns = axisTaps(source.width(), width);
    const AxisTaps rows = axisTaps(source.height(), height);
    const Job job{&layout, palette, bits, source, width, &columns, &rows, out, outStride};
    // Worth a second core only for pictures of some size.
    const std::int64_t work = std::int64_t(source.width()) * source.height();
    const unsigned cores = threads > 0
                               ? unsigned(threads)
                               : std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    const int parts =
        work < 1'000'000 ? 1 : static_cast<int>(std::min<unsigned>(cores, unsigned(height)));
    std::vector<std::thread> helpers;
    for (int part = 1; part < parts; ++part) {
        const int first = height * part / parts, end = height * (part + 1) / parts;
        try {
            helpers.emplace_back(reduceRows, std::cref(job), first, end);
        } catch (...) {
            reduceRows(job, first, end); // no thread to be had: this one does it
        }
    }
    reduceRows(job, 0, height / parts);
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace platform
