#include "picture/scaling.h"

#include <gtest/gtest.h>

#include <vector>

#include "picture_fixture.h"
#include "support/bmp_writer.h"

namespace {

// A 24-bit w x 1 or 1 x h picture whose pixel k has blue k.
void loadRamp(PictureBuffer& p, int w, int h) {
    auto dib = testing_support::makeDib(w, h, 24);
    const int stride = static_cast<int>(rowBytes(w, 24));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            dib.bits[y * stride + 3 * x] = static_cast<char>(x + y);
            dib.bits[y * stride + 3 * x + 1] = dib.bits[y * stride + 3 * x + 2] = 0;
        }
    BlockPair b = blocksOf(dib.header, dib.bits);
    p.attach(b.header, b.bits);
}

// Blue of every pixel of a W-wide row of the target after scaling.
std::vector<int> scaledRow(PictureBuffer& p, int W, int H, int row = 0) {
    std::vector<unsigned char> target(rowBytes(W, 24) * H, 0xEE);
    scaleInto(p, target.data(), 0, 0, W, H, W, H);
    std::vector<int> out;
    for (int i = 0; i < W; ++i)
        out.push_back(target[row * rowBytes(W, 24) + 3 * i]);
    return out;
}

TEST(Scaling, NearestPointChoices) {
    PictureBuffer p;
    loadRamp(p, 2, 2);
    setEngines(p, kNearestPoint, kNearestPoint, kNearestPoint);
    EXPECT_EQ(scaledRow(p, 4, 4), (std::vector<int>{0, 1, 1, 1}));
    EXPECT_EQ(scaledRow(p, 4, 4, 1), (std::vector<int>{1, 2, 2, 2}));

    PictureBuffer r;
    loadRamp(r, 10, 10);
    setEngines(r, 0, kNearestPoint, 0);
    EXPECT_EQ(scaledRow(r, 5, 5), (std::vector<int>{0, 2, 4, 7, 9}));

    PictureBuffer m;
    loadRamp(m, 3, 2);
    setEngines(m, 0, 0, kNearestPoint);
    EXPECT_EQ(scaledRow(m, 5, 1), (std::vector<int>{0, 1, 1, 2, 2}));

    PictureBuffer one;
    loadRamp(one, 1, 2);
    setEngines(one, 0, 0, 0);
    EXPECT_EQ(scaledRow(one, 3, 3), (std::vector<int>{0, 0, 0}));
}

TEST(Scaling, LinearEnds) {
    PictureBuffer p;
    loadRamp(p, 2, 2);
    setEngines(p, kLinear, 0, kLinear);
    // 2 onto 3 columns at the row of fy 0: 0, half way, then the last pixel.
    std::vector<unsigned char> target(rowBytes(3, 24) * 3);
    scaleInto(p, target.data(), 0, 0, 3, 3, 3, 3);
    EXPECT_EQ(target[0], 0);
    EXPECT_EQ(target[3], 0); // ramp 0..1: half of 1 rounds down
    EXPECT_EQ(target[6], 1);
    EXPECT_EQ(target[2 * rowBytes(3, 24) + 6], 2); // P11 at fx = fy = 256
}

TEST(Scaling, LinearFromAVeryWidePictureTapsItsEnds) {
    // A step of more than 32768 source columns a target column overflowed
    // its fixed-point int and read before the row.
    PictureBuffer p;
    loadRamp(p, 65540, 1);
    setEngines(p, kLinear, kLinear, kLinear);
    EXPECT_EQ(scaledRow(p, 2, 1), (std::vector<int>{0, 65539 & 0xFF}));
}

TEST(Scaling, AverageOfAlternatingColumns) {
    auto dib = testing_support::makeDib(4, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            char* px = dib.bits.data() + y * 12 + 3 * x;
            px[0] = static_cast<char>(x % 2 ? 255 : 0);
            px[1] = px[2] = 0;
        }
    for (int engine : {kAverage1, kAverage2}) {
        PictureBuffer p;
        BlockPair b = blocksOf(dib.header, dib.bits);
        p.attach(b.header, b.bits);
        setEngines(p, 0, engine, 0);
        EXPECT_EQ(scaledRow(p, 2, 2), (std::vector<int>{127, 127}));
    }
}

TEST(Scaling, WhatIsNotDrawn) {
    PictureBuffer p;
    loadRandom(p, 8, 8, 24, 1);
    setEngines(p, 0, 4, 0);
    EXPECT_EQ(scaledRow(p, 4, 4), (std::vector<int>(4, 0xEE)));

    PictureBuffer w16;
    loadRandom(w16, 4, 4, 16, 1);
    EXPECT_EQ(scaledRow(w16, 4, 4), (std::vector<int>(4, 0xEE)));
}

// Rectangles partly off the surface, and one-line targets, write only the
// pixels of the rectangle that lie on the surface.
TEST(Scaling, WritesStayInsideRectangleAndSurface) {
    const int bw = 9, bh = 7, stride = static_cast<int>(rowBytes(bw, 24));
    struct Rect {
        int x, y, w, h;
    };
    const Rect rects[] = {{-3, -2, 20, 15}, {4, 3, 12, 9}, {2, 1, 1, 5},
                          {2, 1, 6, 1},     {1, 1, 3, 3},  {-5, 0, 5, 5}};
    for (int depth : {1, 8, 24}) {
        for (int e = 0; e < 4; ++e) {
            for (const Rect& r : rects) {
                PictureBuffer p;
                loadRandom(p, 5, 4, depth, 3);
                setEngines(p, e, e, e);
                std::vector<unsigned char> target(stride * bh, 0xEE);
                scaleInto(p, target.data(), r.x, r.y, r.w, r.h, bw, bh);
                for (int y = 0; y < bh; ++y)
                    for (int x = 0; x < stride; ++x) {
                        const int px = x / 3;
                        const bool inside =
                            x < 3 * bw && px >= r.x && px < r.x + r.w && y >= r.y && y < r.y + r.h;
                        if (!inside) {
                            EXPECT_EQ(target[y * stride + x], 0xEE) << x << "," << y;
                        }
                    }
            }
        }
    }
}

} // namespace
