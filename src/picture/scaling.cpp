#include "picture/scaling.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Byte = unsigned char;

// Reads blue, green, red of any picture pixel at 1, 2, 4, 8 or 24 bits.
struct Source {
    const Byte* bits;
    std::int64_t stride;
    int width;
    int bitCount;
    Byte colours[256][3];

    const Byte* pixel(int x, int y) const {
        const Byte* row = bits + y * stride;
        if (bitCount == 24) return row + 3 * std::int64_t{x};
        if (bitCount == 8) return colours[row[x]];
        return colours[pixelIndex(row, x, bitCount)];
    }
    // Row y as blue-green-red bytes: the row itself at 24 bits, otherwise
    // looked up into `scratch` (3 x width bytes).
    const Byte* bgrRow(int y, std::vector<Byte>& scratch) const {
        if (bitCount == 24) return bits + y * stride;
        scratch.resize(3 * std::size_t(width));
        for (int x = 0; x < width; ++x)
            std::memcpy(&scratch[3 * std::size_t(x)], pixel(x, y), 3);
        return scratch.data();
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
};

int fixedStep(int from, int to, double one) {
    return to > 1 ? static_cast<int>(double(from - 1) / double(to - 1) * one) : 0;
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

void drawMapped(const Source& s, const Target& t, const std::vector<int>& cols,
                const std::vector<int>& rows) {
    std::vector<Byte> scratch;
    for (int j = t.j0; j < t.j1; ++j) {
        if (rows[j] < 0) continue;
        const Byte* row = s.bgrRow(rows[j], scratch);
        Byte* out = t.at(t.i0, j);
        for (int i = t.i0; i < t.i1; ++i, out += 3)
            if (cols[i] >= 0) std::memcpy(out, row + 3 * cols[i], 3);
    }
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

// Left (or lower) neighbour and 8-bit fraction of each target position.
struct LinearTap {
    int at;
    int next;
    int fraction;
};

std::vector<LinearTap> linearTaps(int src, int dst) {
    std::vector<LinearTap> taps(dst);
    const std::int64_t step = fixedStep(src, dst, 65536.0);
    for (int i = 0; i < dst; ++i) {
        const std::int64_t p = i * step;
        int x = static_cast<int>(p >> 16);
        int f = static_cast<int>((p - (std::int64_t{x} << 16)) >> 8);
        if (src == 1) {
            taps[i] = {0, 0, 0};
            continue;
        }
        if (x >= src - 1) {
            x = src - 2;
            f = 256;
        }
        taps[i] = {x, x + 1, f};
    }
    return taps;
}

void drawLinear(const PictureBuffer& pic, const Source& s, const Target& t) {
    const auto cols = linearTaps(pic.width, t.width);
    const auto rows = linearTaps(pic.height, t.height);
    std::vector<Byte> scratchLow, scratchHigh;
    for (int j = t.j0; j < t.j1; ++j) {
        const int fy = rows[j].fraction;
        const Byte* low = s.bgrRow(rows[j].at, scratchLow);
        const Byte* high = s.bgrRow(rows[j].next, scratchHigh);
        Byte* out = t.at(t.i0, j);
        for (int i = t.i0; i < t.i1; ++i, out += 3) {
            const int fx = cols[i].fraction;
            const int tw = pic.productTable[fx][fy];
            const Byte* p00 = low + 3 * cols[i].at;
            const Byte* p10 = low + 3 * cols[i].next;
            const Byte* p01 = high + 3 * cols[i].at;
            const Byte* p11 = high + 3 * cols[i].next;
            for (int c = 0; c < 3; ++c) {
                const int a = p00[c];
                out[c] = static_cast<Byte>(a + ((tw * (p11[c] - p10[c] - p01[c] + a) +
                                                 fx * (p10[c] - a) + fy * (p01[c] - a)) >>
                                                8));
            }
        }
    }
}

// Area average on a grid of 2048 or 1024 (20.12 units). The samples of a
// target pixel are the crossings of its sample rows and sample columns, so the
// sums are taken in two passes: down the sample rows of a target row for every
// source column, then across the sample columns of each target pixel.
void drawAverage(const PictureBuffer& pic, const Source& s, const Target& t, int gridShift) {
    const std::int64_t grid = std::int64_t{1} << gridShift;
    const auto stepX = static_cast<std::int64_t>(double(pic.width) / double(t.width) * 4096.0);
    const auto stepY = static_cast<std::int64_t>(double(pic.height) / double(t.height) * 4096.0);
    const int perRow = static_cast<int>(((stepX - 1) >> gridShift) + 1);
    const int perColumn = static_cast<int>(((stepY - 1) >> gridShift) + 1);
    const std::int64_t count = std::int64_t{perRow} * perColumn;
    std::vector<int> sampleColumns(std::size_t(t.width) * perRow);
    for (int i = 0; i < t.width; ++i)
        for (int k = 0; k < perRow; ++k)
            sampleColumns[std::size_t(i) * perRow + k] =
                static_cast<int>((i * stepX + k * grid) >> 12);
    std::vector<int> columnSums(3 * std::size_t(pic.width));
    std::vector<Byte> scratch;
    for (int j = t.j0; j < t.j1; ++j) {
        std::fill(columnSums.begin(), columnSums.end(), 0);
        for (int k = 0; k < perColumn; ++k) {
            const Byte* row = s.bgrRow(static_cast<int>((j * stepY + k * grid) >> 12), scratch);
            for (int b = 0; b < 3 * pic.width; ++b)
                columnSums[b] += row[b];
        }
        Byte* out = t.at(t.i0, j);
        for (int i = t.i0; i < t.i1; ++i, out += 3) {
            std::int64_t sum[3] = {0, 0, 0};
            const int* columns = &sampleColumns[std::size_t(i) * perRow];
            for (int k = 0; k < perRow; ++k) {
                const int* c = &columnSums[3 * std::size_t(columns[k])];
                sum[0] += c[0];
                sum[1] += c[1];
                sum[2] += c[2];
            }
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<Byte>(sum[c] / count);
        }
    }
}

void drawOneToOne(const PictureBuffer& pic, const Source& s, const Target& t, int bufferWidth,
                  int bufferHeight) {
    if (pic.bitCount == 24 && bufferWidth == pic.width && bufferHeight == pic.height) {
        std::memcpy(t.base, s.bits, static_cast<std::size_t>(s.stride * pic.height));
        return;
    }
    for (int j = t.j0; j < t.j1; ++j) {
        Byte* out = t.at(t.i0, j);
        if (pic.bitCount == 24) {
            std::memcpy(out, s.pixel(t.i0, j), 3 * std::size_t(t.i1 - t.i0));
            continue;
        }
        for (int i = t.i0; i < t.i1; ++i, out += 3)
            std::memcpy(out, s.pixel(i, j), 3);
    }
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
    auto source = std::make_unique<Source>();
    Source& s = *source;
    s.bits = platform::lockBlock(pic.bitsBlock);
    s.stride = pic.stride;
    s.width = pic.width;
    s.bitCount = pic.bitCount;
    if (pic.bitCount != 24) fillPalette(pic, s.colours);
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
            drawLinear(pic, s, t);
    } else if (W < w && H < h) {
        switch (pic.reduceEngine) {
        case kNearestPoint:
            drawMapped(s, t, reduceMap(w, W), reduceRowMap(h, H));
            break;
        case kLinear:
            drawLinear(pic, s, t);
            break;
        case kAverage1:
            drawAverage(pic, s, t, 11);
            break;
        case kAverage2:
            drawAverage(pic, s, t, 10);
            break;
        default:
            break;
        }
    } else if (W == w && H == h) {
        drawOneToOne(pic, s, t, destBufferWidth, destBufferHeight);
    } else if (pic.mixedEngine == kNearestPoint) {
        drawMapped(s, t, roundedMap(w, W), roundedMap(h, H));
    } else {
        drawLinear(pic, s, t);
    }
}
