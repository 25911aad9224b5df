// The platform's smooth reduction against a plain area average in doubles.
#include "platform/dib_reduce.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/bmp_writer.h"

using namespace platform;

namespace {

struct Reduced {
    std::vector<unsigned char> pixels; // 4 bytes a pixel, top row first
    int width, height;
};

Reduced reduce(const testing_support::Dib& dib, Rect source, int width, int height) {
    auto layout = readDibLayout(reinterpret_cast<const unsigned char*>(dib.header.data()),
                                dib.header.size(), dib.bits.size());
    EXPECT_TRUE(layout);
    Reduced out{std::vector<unsigned char>(std::size_t(width) * height * 4, 7), width, height};
    reduceDib(*layout, reinterpret_cast<const unsigned char*>(dib.header.data()) + 40,
              reinterpret_cast<const unsigned char*>(dib.bits.data()), source, width, height,
              out.pixels.data(), std::size_t(width) * 4);
    return out;
}

// Channel c of picture pixel (x, y) (y from the top) of a 24-bit DIB.
double channel(const testing_support::Dib& dib, int pictureHeight, int stride, int x, int y,
               int c) {
    return static_cast<unsigned char>(
        dib.bits[std::size_t(pictureHeight - 1 - y) * stride + std::size_t(x) * 3 + c]);
}

// The exact area average of destination pixel (dx, dy).
double average(const testing_support::Dib& dib, int pictureHeight, int stride, Rect source,
               int width, int height, int dx, int dy, int c) {
    const double sx = double(source.width()) / width, sy = double(source.height()) / height;
    double sum = 0;
    for (int y = source.top; y < source.bottom; ++y) {
        const double wy = std::max(0.0, std::min(y + 1.0, source.top + (dy + 1) * sy) -
                                            std::max(double(y), source.top + dy * sy));
        if (wy == 0) continue;
        for (int x = source.left; x < source.right; ++x) {
            const double wx = std::max(0.0, std::min(x + 1.0, source.left + (dx + 1) * sx) -
                                                std::max(double(x), source.left + dx * sx));
            sum += wx * wy * channel(dib, pictureHeight, stride, x, y, c);
        }
    }
    return sum / (sx * sy);
}

} // namespace

// The weights are 8-bit fixed point, so a channel may be off by up to two levels.
TEST(DibReduce, MatchesTheAreaAverageWithinTwoLevels) {
    struct Case {
        int width, height;
        Rect source;
        int outWidth, outHeight;
    };
    const Case cases[] = {{37, 23, rectAt(0, 0, 37, 23), 10, 7},
                          {300, 40, rectAt(0, 0, 300, 40), 13, 2}, // more than 16 taps a pixel
                          {37, 23, rectAt(0, 0, 37, 23), 37, 23}, // one to one
                          {50, 40, rectAt(5, 3, 31, 29), 9, 1},
                          {64, 64, rectAt(0, 0, 64, 64), 1, 1},
                          {1200, 900, rectAt(0, 0, 1200, 900), 383, 287}}; // split over cores
    for (const Case& test : cases) {
        const auto dib = testing_support::makeDib(test.width, test.height, 24, 5);
        const int stride = (test.width * 3 + 3) / 4 * 4;
        const Reduced out = reduce(dib, test.source, test.outWidth, test.outHeight);
        const int step = test.outWidth * test.outHeight > 5000 ? 37 : 1;
        for (int i = 0; i < test.outWidth * test.outHeight; i += step) {
            const int dx = i % test.outWidth, dy = i / test.outWidth;
            for (int c = 0; c < 3; ++c) {
                const double want = average(dib, test.height, stride, test.source, test.outWidth,
                                            test.outHeight, dx, dy, c);
                EXPECT_NEAR(out.pixels[std::size_t(i) * 4 + c], want, 2.0)
                    << test.width << "x" << test.height << " pixel " << dx << "," << dy;
            }
            EXPECT_EQ(out.pixels[std::size_t(i) * 4 + 3], 255);
        }
    }
}

TEST(DibReduce, OtherDepthsReadTheirColoursAndIndexesPastAShortPaletteReadBlack) {
    for (int bits : {1, 4, 8, 16}) {
        const auto dib = testing_support::makeDib(16, 8, bits, 3);
        auto layout = readDibLayout(reinterpret_cast<const unsigned char*>(dib.header.data()),
                                    dib.header.size(), dib.bits.size());
        ASSERT_TRUE(layout);
        const Reduced out = reduce(dib, rectAt(0, 0, 16, 8), 16, 8); // one to one
        const unsigned char* top = reinterpret_cast<const unsigned char*>(dib.bits.data()) +
                                   std::size_t(7) * layout->stride;
        const unsigned char* palette =
            reinterpret_cast<const unsigned char*>(dib.header.data()) + 40;
        if (bits == 16) {
            const unsigned v = top[0] | (top[1] << 8);
            EXPECT_EQ(out.pixels[0], (v << 3) & 248);
            EXPECT_EQ(out.pixels[1], (v >> 2) & 248);
            EXPECT_EQ(out.pixels[2], (v >> 7) & 248);
            continue;
        }
        const int index = top[0] >> (8 - bits);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(out.pixels[c], palette[4 * index + c]) << bits;
    }
    // Two stored entries; the top-left pixel names entry 200.
    auto dib = testing_support::makeDib(4, 2, 8, 3);
    dib.header.resize(40 + 8);
    dib.header[32] = 2;
    dib.bits[4] = static_cast<char>(200); // the top row starts at the second stored row
    const Reduced out = reduce(dib, rectAt(0, 0, 4, 2), 4, 2);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(out.pixels[c], 0);
}
