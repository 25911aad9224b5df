#include "reference.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

struct Rgb {
    int c[3];
};

struct Ref {
    const PictureBuffer& p;
    const unsigned char* bits;
    const unsigned char* palette;
    unsigned char* target;
    int destX, destY, rowLength;

    Rgb pixel(int x, int y) const {
        const unsigned char* row = bits + static_cast<std::size_t>(y) * p.stride;
        const unsigned char* e;
        if (p.bitCount == 24) {
            e = row + 3 * x;
        } else {
            int index;
            if (p.bitCount == 8) {
                index = row[x];
            } else {
                const int b = p.bitCount, bit = x * b;
                index = (row[bit / 8] >> (8 - bit % 8 - b)) & ((1 << b) - 1);
            }
            e = palette + 4 * index;
        }
        return {{e[0], e[1], e[2]}};
    }
    void put(int i, int j, Rgb v) const {
        unsigned char* o =
            target + static_cast<std::size_t>(destY + j) * rowLength + 3 * (destX + i);
        for (int k = 0; k < 3; ++k)
            o[k] = static_cast<unsigned char>(v.c[k]);
    }
};

void nearestEnlarge(const Ref& r, int w, int h, int W, int H) {
    int re = 1 - h, y = 0;
    for (int j = 0; j < H; ++j) {
        int e = 1 - w, x = 0;
        for (int i = 0; i < W; ++i) {
            r.put(i, j, r.pixel(std::min(x, w - 1), std::min(y, h - 1)));
            e = e + 2 * (w - 1);
            if (e >= 0) {
                e = e - 2 * (W - 1);
                x = x + 1;
            }
        }
        re = re + 2 * (h - 1);
        if (re >= 0) {
            re = re - 2 * (H - 1);
            y = y + 1;
        }
    }
}

void nearestReduce(const Ref& r, int w, int h, int W, int H) {
    int re = 1 - H, k = 0;
    for (int y = 0; y < h; ++y) {
        int e = 1 - W, c = 0;
        for (int x = 0; x < w; ++x) {
            e = e + 2 * (W - 1);
            if (e >= 0) {
                if (k < H && c < W) r.put(c, k, r.pixel(x, y));
                c = c + 1;
                e = e - 2 * (w - 1);
            }
        }
        re = re + 2 * (H - 1);
        if (re >= 0) {
            re = re - 2 * (h - 1);
            k = k + 1;
        }
    }
}

void nearestMixed(const Ref& r, int w, int h, int W, int H) {
    const int sx = W > 1 ? int(double(w - 1) / (W - 1) * 4096) : 0;
    const int sy = H > 1 ? int(double(h - 1) / (H - 1) * 4096) : 0;
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i) {
            const int X = i * sx, Y = j * sy;
            r.put(i, j, r.pixel((X >> 11) - (X >> 12), (Y >> 11) - (Y >> 12)));
        }
}

void linear(const Ref& r, int w, int h, int W, int H) {
    const int sx = W > 1 ? int(double(w - 1) / (W - 1) * 65536) : 0;
    const int sy = H > 1 ? int(double(h - 1) / (H - 1) * 65536) : 0;
    for (int j = 0; j < H; ++j) {
        const int Y = j * sy;
        int y = Y >> 16, fy = (Y - (y << 16)) >> 8, y1 = y + 1;
        if (h == 1)
            y = y1 = 0;
        else if (y == h - 1)
            y = h - 2, y1 = h - 1, fy = 256;
        for (int i = 0; i < W; ++i) {
            const int X = i * sx;
            int x = X >> 16, fx = (X - (x << 16)) >> 8, x1 = x + 1;
            if (w == 1)
                x = x1 = 0;
            else if (x == w - 1)
                x = w - 2, x1 = w - 1, fx = 256;
            const Rgb p00 = r.pixel(x, y), p10 = r.pixel(x1, y), p01 = r.pixel(x, y1),
                      p11 = r.pixel(x1, y1);
            const int T = fx * fy / 256;
            Rgb out;
            for (int c = 0; c < 3; ++c)
                out.c[c] = p00.c[c] + ((T * (p11.c[c] - p10.c[c] - p01.c[c] + p00.c[c]) +
                                        fx * (p10.c[c] - p00.c[c]) + fy * (p01.c[c] - p00.c[c])) >>
                                       8);
            r.put(i, j, out);
        }
    }
}

void average(const Ref& r, int w, int h, int W, int H, int grid, int shift) {
    const int sx = int(double(w) / W * 4096), sy = int(double(h) / H * 4096);
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i) {
            const int X0 = i * sx, Y0 = j * sy;
            long long sum[3] = {0, 0, 0}, count = 0;
            for (int yy = Y0; yy < Y0 + sy; yy += grid) {
                for (int xx = X0; xx < X0 + sx; xx += grid) {
                    const Rgb p = r.pixel(xx >> 12, yy >> 12);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p.c[c];
                }
                count += ((sx - 1) >> shift) + 1;
            }
            Rgb out;
            for (int c = 0; c < 3; ++c)
                out.c[c] = int(sum[c] / count);
            r.put(i, j, out);
        }
}

} // namespace

void referenceScale(const PictureBuffer& p, unsigned char* target, int destX, int destY, int W,
                    int H, int bufW, int bufH) {
    (void)bufH;
    if (p.bitCount == 16) return;
    const Ref r{p,
                platform::lockBlock(p.bitsBlock),
                platform::lockBlock(p.headerBlock) + 40,
                target,
                destX,
                destY,
                int(rowBytes(bufW, 24))};
    const int w = p.width, h = p.height;
    if (W > w && H > h) {
        if (p.enlargeEngine == 0)
            nearestEnlarge(r, w, h, W, H);
        else
            linear(r, w, h, W, H);
    } else if (W < w && H < h) {
        if (p.reduceEngine == 0)
            nearestReduce(r, w, h, W, H);
        else if (p.reduceEngine == 1)
            linear(r, w, h, W, H);
        else if (p.reduceEngine == 2)
            average(r, w, h, W, H, 2048, 11);
        else if (p.reduceEngine == 3)
            average(r, w, h, W, H, 1024, 10);
    } else if (W == w && H == h) {
        for (int j = 0; j < H; ++j)
            for (int i = 0; i < W; ++i)
                r.put(i, j, r.pixel(i, j));
    } else if (p.mixedEngine == 0) {
        nearestMixed(r, w, h, W, H);
    } else {
        linear(r, w, h, W, H);
    }
}

namespace {

int floorDiv(int a, int b) {
    return a / b; // operands are never negative
}

} // namespace

void referenceFilter(PictureBuffer& p, int value) {
    if (p.colorsUsed != 0 || (p.bitCount != 8 && p.bitCount != 24)) return;
    unsigned char* bits = platform::lockBlock(p.bitsBlock);
    const int n = p.bitCount / 8, w = p.width, h = p.height;
    auto at = [&](int x, int y, int ch) -> unsigned char& {
        return bits[static_cast<std::size_t>(y) * p.stride + x * n + ch];
    };
    auto everyByte = [&](auto f) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int ch = 0; ch < n; ++ch)
                    at(x, y, ch) = static_cast<unsigned char>(f(at(x, y, ch)));
    };
    switch (value) {
    case 1:
        everyByte([](int v) { return 255 - v; });
        break;
    case 4:
        everyByte([](int v) { return std::min(v + floorDiv(v, 4), 255); });
        break;
    case 5:
        everyByte([](int v) { return v - floorDiv(v, 4); });
        break;
    case 7:
        if (n == 3)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int g = (at(x, y, 0) + at(x, y, 1) + at(x, y, 2)) / 3;
                    for (int ch = 0; ch < 3; ++ch)
                        at(x, y, ch) = static_cast<unsigned char>(g);
                }
        break;
    case 2:
        if (h < 2) break;
        for (int y = 1; y < h; ++y)
            for (int x = 1; x < w; ++x)
                for (int ch = 0; ch < n; ++ch)
                    at(x, y, ch) = static_cast<unsigned char>(
                        (at(x, y - 1, ch) >> 2) + (at(x - 1, y, ch) >> 2) + (at(x, y, ch) >> 1));
        break;
    case 3:
        if (h <= 2) break;
        for (int y = 1; y <= h - 2; ++y)
            for (int x = 1; x <= w - 2; ++x)
                for (int ch = 0; ch < n; ++ch) {
                    const int v = at(x, y, ch), a = at(x, y + 1, ch), r = at(x + 1, y, ch);
                    const int ceilA = (a % 2) ? a / 2 + 1 : a / 2;
                    const int out =
                        n == 3 ? 3 * v - 2 * ceilA - 2 * (r / 2) : 4 * v - 3 * ceilA - 3 * (r / 2);
                    at(x, y, ch) = static_cast<unsigned char>(std::clamp(out, 0, 255));
                }
        break;
    case 8:
        if (h <= 2) break;
        for (int y = 1; y <= h - 2; ++y)
            for (int x = 1; x <= w - 2; ++x) {
                int cl = 0, ld = 0, cd = 0;
                for (int ch = 0; ch < n; ++ch) {
                    cl += std::abs(at(x, y, ch) - at(x - 1, y, ch));
                    ld += std::abs(at(x - 1, y, ch) - at(x, y - 1, ch));
                    cd += std::abs(at(x, y, ch) - at(x, y - 1, ch));
                }
                const int big = n == 3 ? 40 : 16, small = n == 3 ? 16 : 6;
                for (int ch = 0; ch < n; ++ch) {
                    const int c = at(x, y, ch), l = at(x - 1, y, ch), d = at(x, y - 1, ch);
                    int out = c;
                    if (cl < big && ld < big)
                        out = (c + 2 * (l + d)) / 5;
                    else if (cl < small)
                        out = (l + 2 * c) / 3;
                    else if (cd < small)
                        out = (d + 2 * c) / 3;
                    at(x, y, ch) = static_cast<unsigned char>(out);
                }
            }
        break;
    case 6: {
        if (n != 3) break;
        auto f = [](int a, int b, int c, int d, int e) {
            return (a + e + 2 * (b + 2 * c + d)) / 10;
        };
        for (int y = 0; y < h; ++y)
            for (int k = 1; 8 * k + 3 <= w; ++k)
                for (int ch = 0; ch < 3; ++ch) {
                    auto P = [&](int x) { return int{at(std::min(x, w - 1), y, ch)}; };
                    const int e = 8 * k;
                    const int a = f(P(e - 2), P(e - 1), P(e), P(e + 1), P(e + 2));
                    const int b = f(P(e - 1), P(e), P(e + 1), P(e + 2), P(e + 3));
                    at(e, y, ch) = static_cast<unsigned char>(a);
                    at(e + 1, y, ch) = static_cast<unsigned char>(b);
                }
        if (h < 17) break;
        for (int k = 1; 8 * k <= h - 9; ++k)
            for (int x = 0; x < w; ++x)
                for (int ch = 0; ch < 3; ++ch) {
                    auto R = [&](int y) { return int{at(x, y, ch)}; };
                    const int e = 8 * k;
                    const int a = f(R(e - 2), R(e - 1), R(e), R(e + 1), R(e + 2));
                    const int b = f(R(e - 1), R(e), R(e + 1), R(e + 2), R(e + 3));
                    at(x, e, ch) = static_cast<unsigned char>(a);
                    at(x, e + 1, ch) = static_cast<unsigned char>(b);
                }
        break;
    }
    default:
        break;
    }
}

std::string referenceTransform(const PictureBuffer& picture, int value) {
    const int w = picture.width, h = picture.height, bytes = picture.bitCount / 8;
    const bool turned = value == 1 || value == 2;
    const int nw = turned ? h : w, nh = turned ? w : h;
    const unsigned char* bits = platform::lockBlock(picture.bitsBlock);
    std::string out(static_cast<std::size_t>(nw) * nh * bytes, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int nx = x, ny = y;
            if (value == 1) nx = h - 1 - y, ny = x;
            if (value == 2) nx = y, ny = w - 1 - x;
            if (value == 5) nx = w - 1 - x;
            if (value == 6) ny = h - 1 - y;
            // Rows are stored bottom-up.
            const unsigned char* from =
                bits + static_cast<std::size_t>(h - 1 - y) * picture.stride + x * bytes;
            const std::size_t to = (static_cast<std::size_t>(nh - 1 - ny) * nw + nx) * bytes;
            for (int k = 0; k < bytes; ++k) out[to + k] = static_cast<char>(from[k]);
        }
    return out;
}

std::string unpaddedRows(const PictureBuffer& picture) {
    const unsigned char* bits = platform::lockBlock(picture.bitsBlock);
    const std::size_t used = (static_cast<std::size_t>(picture.width) * picture.bitCount + 7) / 8;
    std::string out;
    for (int y = 0; y < picture.height; ++y)
        out.append(reinterpret_cast<const char*>(bits) + static_cast<std::size_t>(y) * picture.stride,
                   used);
    return out;
}
