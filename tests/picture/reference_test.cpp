// The fast engines and filters against their literal versions, byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "picture/filters.h"
#include "picture/scaling.h"
#include "picture/transform.h"
#include "picture_fixture.h"
#include "reference.h"

namespace {

struct Size {
    int w, h;
};

void compareScaling(int depth, Size src, Size dst, int engines, std::uint32_t seed, int offsetX = 1,
                    int offsetY = 2) {
    PictureBuffer p;
    loadRandom(p, src.w, src.h, depth, seed);
    const int e = engines;
    setEngines(p, e % 2, e, e % 2);
    const int bw = dst.w + offsetX + 1, bh = dst.h + offsetY;
    const auto size = static_cast<std::size_t>(rowBytes(bw, 24) * bh);
    std::vector<unsigned char> fast(size, 0x5A), slow(size, 0x5A);
    scaleInto(p, fast.data(), offsetX, offsetY, dst.w, dst.h, bw, bh);
    referenceScale(p, slow.data(), offsetX, offsetY, dst.w, dst.h, bw, bh);
    ASSERT_EQ(fast, slow) << "depth " << depth << " " << src.w << "x" << src.h << " -> " << dst.w
                          << "x" << dst.h << " engine " << e;
}

TEST(Reference, EnginesOnSmallPictures) {
    std::mt19937 random(42);
    const Size sizes[] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {3, 5}, {17, 9}, {33, 31}, {64, 3}};
    std::uint32_t seed = 1;
    for (int depth : {1, 2, 4, 8, 24})
        for (const Size& s : sizes)
            for (int engine = 0; engine < 4; ++engine)
                for (int k = 0; k < 6; ++k) {
                    const Size d{1 + int(random() % (3 * s.w + 2)),
                                 1 + int(random() % (3 * s.h + 2))};
                    compareScaling(depth, s, d, engine, seed++);
                }
}

TEST(Reference, EnginesOnLargePictures) {
    const struct {
        Size src, dst;
        int depth;
    } cases[] = {
        {{1240, 877}, {383, 270}, 8},
        {{600, 425}, {953, 675}, 24},
        {{499, 501}, {501, 499}, 4},
        {{3001, 17}, {1, 2500}, 1},
        {{1301, 90}, {411, 61}, 24},
        {{200, 300}, {617, 150}, 24},
        // Large enough to be split over threads.
        {{1500, 1100}, {700, 400}, 8},
    };
    for (const auto& c : cases)
        for (int engine = 0; engine < 4; ++engine)
            compareScaling(c.depth, c.src, c.dst, engine, engine + 7, 0, 0);
    compareScaling(24, {4000, 4000}, {300, 200}, kAverage2, 5, 0, 0);
    compareScaling(24, {300, 200}, {300, 200}, 0, 3, 0, 0); // the whole-block copy
}

// Every byte brought into 96 .. 111, so that neighbours are close enough for
// every case of the filters that compare them.
void lowerContrast(PictureBuffer& p) {
    unsigned char* bits = platform::lockBlock(p.bitsBlock);
    for (std::size_t i = 0, n = platform::blockSize(p.bitsBlock); i < n; ++i)
        bits[i] = static_cast<unsigned char>(96 + (bits[i] & 15));
}

// Reductions so steep that one target pixel's samples spread over more
// source pixels than a vector holds, while their sums still fit 16 bits.
TEST(Reference, AveragesOverWideSpans) {
    for (int depth : {8, 24}) {
        compareScaling(depth, {80, 3}, {2, 2}, kAverage1, 3);
        compareScaling(depth, {85, 3}, {1, 2}, kAverage1, 4);
        compareScaling(depth, {51, 5}, {1, 4}, kAverage2, 5);
        compareScaling(depth, {700, 7}, {23, 5}, kAverage1, 6);
    }
    // One target pixel gathering 2^26 samples, whose sums pass 32 bits.
    compareScaling(24, {500000, 8}, {1, 1}, kAverage2, 8);
}

TEST(Reference, Filters) {
    // The last two are large enough to be split over threads, the first of
    // them into column strips barely wider than the rows taken together.
    const Size sizes[] = {{1, 1},   {2, 2},   {3, 3},     {1, 20},    {20, 1},    {11, 17},
                          {19, 33}, {64, 40}, {257, 131}, {21, 9001}, {1100, 600}};
    std::uint32_t seed = 100;
    for (bool low : {false, true})
        for (int depth : {8, 24})
            for (const Size& s : sizes)
                for (int value = 0; value <= 9; ++value) {
                    PictureBuffer fast, slow;
                    loadRandom(fast, s.w, s.h, depth, seed);
                    loadRandom(slow, s.w, s.h, depth, seed++);
                    if (low) {
                        lowerContrast(fast);
                        lowerContrast(slow);
                    }
                    applyFilter(fast, value);
                    referenceFilter(slow, value);
                    ASSERT_EQ(bitsOf(fast), bitsOf(slow)) << depth << " " << s.w << "x" << s.h
                                                          << " filter " << value << " low " << low;
                }
}

} // namespace

TEST(Reference, TurnsAndFlipsMoveEveryPixelAsTheTableSays) {
    const Size sizes[] = {{1, 1}, {2, 1}, {1, 5}, {7, 3}, {6, 4}, {13, 11}, {33, 2}};
    std::uint32_t seed = 1;
    for (int depth : {8, 24})
        for (const Size& s : sizes)
            for (int value : {kTurnClockwise, kTurnAnticlockwise, kMirrorLeftRight, kUpsideDown}) {
                PictureBuffer p;
                loadRandom(p, s.w, s.h, depth, seed++);
                const std::string expected = referenceTransform(p, value);
                applyTransform(p, value, 1);
                EXPECT_EQ(unpaddedRows(p), expected)
                    << "depth " << depth << " " << s.w << "x" << s.h << " value " << value;
            }
}
