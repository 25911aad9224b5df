#include "picture/filters.h"

#include <algorithm>
#include <cstdlib>

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

Byte clampByte(int v) {
    return static_cast<Byte>(std::clamp(v, 0, 255));
}

template <typename F> void eachByte(const Rows& p, F f) {
    for (int y = 0; y < p.height; ++y) {
        Byte* r = p.row(y);
        for (int i = 0, n = p.bytes(); i < n; ++i)
            r[i] = f(r[i]);
    }
}

void grey(const Rows& p) {
    for (int y = 0; y < p.height; ++y) {
        Byte* r = p.row(y);
        for (int x = 0; x < p.width; ++x, r += 3)
            r[0] = r[1] = r[2] = static_cast<Byte>((r[0] + r[1] + r[2]) / 3);
    }
}

// Each byte from the already smoothed byte to its left and the one below.
void blur(const Rows& p) {
    if (p.height < 2) return;
    for (int y = 1; y < p.height; ++y) {
        Byte* r = p.row(y);
        const Byte* below = p.row(y - 1);
        for (int i = p.bpp, n = p.bytes(); i < n; ++i)
            r[i] = static_cast<Byte>((below[i] >> 2) + (r[i - p.bpp] >> 2) + (r[i] >> 1));
    }
}

// The neighbours above and to the right are not yet processed when a byte is.
void sharpen(const Rows& p) {
    if (p.height <= 2) return;
    const int k = p.bpp == 3 ? 2 : 3;
    const int self = p.bpp == 3 ? 3 : 4;
    for (int y = 1; y < p.height - 1; ++y) {
        Byte* r = p.row(y);
        const Byte* above = p.row(y + 1);
        for (int i = p.bpp, n = p.bytes() - p.bpp; i < n; ++i) {
            const int a = above[i], right = r[i + p.bpp];
            r[i] = clampByte(self * r[i] - k * ((a + 1) / 2) - k * (right / 2));
        }
    }
}

void blurII(const Rows& p) {
    if (p.height <= 2) return;
    const bool colour = p.bpp == 3;
    const int near = colour ? 40 : 16, close = colour ? 16 : 6;
    for (int y = 1; y < p.height - 1; ++y) {
        Byte* r = p.row(y);
        const Byte* below = p.row(y - 1);
        for (int x = 1; x < p.width - 1; ++x) {
            Byte* c = r + x * p.bpp;
            const Byte* l = c - p.bpp;
            const Byte* d = below + x * p.bpp;
            int cl = 0, ld = 0, cd = 0;
            for (int i = 0; i < p.bpp; ++i) {
                cl += std::abs(c[i] - l[i]);
                ld += std::abs(l[i] - d[i]);
                cd += std::abs(c[i] - d[i]);
            }
            if (cl < near && ld < near) {
                for (int i = 0; i < p.bpp; ++i)
                    c[i] = static_cast<Byte>((c[i] + 2 * (l[i] + d[i])) / 5);
            } else if (cl < close) {
                for (int i = 0; i < p.bpp; ++i)
                    c[i] = static_cast<Byte>((l[i] + 2 * c[i]) / 3);
            } else if (cd < close) {
                for (int i = 0; i < p.bpp; ++i)
                    c[i] = static_cast<Byte>((d[i] + 2 * c[i]) / 3);
            }
        }
    }
}

int weigh(int m2, int m1, int c, int p1, int p2) {
    return (m2 + p2 + 2 * (m1 + 2 * c + p1)) / 10;
}

// Softens the seams of 8-pixel blocks. The last block's right-most tap, one
// pixel beyond the row when 8k + 3 equals the width, reads the last pixel. The
// second replaced row of each vertical seam takes its taps centred like the
// horizontal pass (rows 8k - 1 .. 8k + 3).
void blockEdges(const Rows& p) {
    const int w = p.width;
    for (int y = 0; y < p.height; ++y) {
        Byte* r = p.row(y);
        for (int k = 1; 8 * k + 3 <= w; ++k) {
            const int e = 8 * k;
            const int last = std::min(e + 3, w - 1);
            for (int ch = 0; ch < 3; ++ch) {
                auto at = [&](int x) { return int{r[3 * x + ch]}; };
                const int a = weigh(at(e - 2), at(e - 1), at(e), at(e + 1), at(e + 2));
                const int b = weigh(at(e - 1), at(e), at(e + 1), at(e + 2), at(last));
                r[3 * e + ch] = static_cast<Byte>(a);
                r[3 * (e + 1) + ch] = static_cast<Byte>(b);
            }
        }
    }
    if (p.height < 17) return;
    for (int k = 1; 8 * k <= p.height - 9; ++k) {
        const int e = 8 * k;
        const Byte *m2 = p.row(e - 2), *m1 = p.row(e - 1), *c = p.row(e), *p1 = p.row(e + 1),
                   *p2 = p.row(e + 2), *p3 = p.row(e + 3);
        Byte* out0 = p.row(e);
        Byte* out1 = p.row(e + 1);
        for (int i = 0, n = p.bytes(); i < n; ++i) {
            const int a = weigh(m2[i], m1[i], c[i], p1[i], p2[i]);
            const int b = weigh(m1[i], c[i], p1[i], p2[i], p3[i]);
            out0[i] = static_cast<Byte>(a);
            out1[i] = static_cast<Byte>(b);
        }
    }
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
        eachByte(p, [](Byte v) { return static_cast<Byte>(255 - v); });
        break;
    case kBrighten:
        eachByte(p, [](Byte v) { return static_cast<Byte>(std::min(v + v / 4, 255)); });
        break;
    case kDarken:
        eachByte(p, [](Byte v) { return static_cast<Byte>(v - v / 4); });
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
