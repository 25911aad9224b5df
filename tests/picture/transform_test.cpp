#include "picture/transform.h"

#include <gtest/gtest.h>

#include "picture/filters.h"
#include "picture/pipeline.h"
#include "picture_fixture.h"
#include "support/bmp_writer.h"

namespace {

// A 2 x 1 24-bit picture: A = (1, 2, 3) on the left, B = (4, 5, 6) on the right.
void loadPair(PictureBuffer& p) {
    auto dib = testing_support::makeDib(2, 1, 24);
    dib.bits = std::string("\1\2\3\4\5\6\0\0", 8);
    BlockPair b = blocksOf(dib.header, dib.bits);
    p.attach(b.header, b.bits);
}

TEST(Transform, QuarterTurnsOfTwoPixels) {
    PictureBuffer p;
    loadPair(p);
    EXPECT_EQ(applyTransform(p, kTurnClockwise, 1), 1);
    EXPECT_EQ(p.width, 1);
    EXPECT_EQ(p.height, 2);
    EXPECT_EQ(p.stride, 4);
    // Bottom row first: B below, A on top.
    EXPECT_EQ(bitsOf(p), std::string("\4\5\6\0\1\2\3\0", 8));
    PictureBuffer q;
    loadPair(q);
    EXPECT_EQ(applyTransform(q, kTurnAnticlockwise, 1), 2);
    EXPECT_EQ(bitsOf(q), std::string("\1\2\3\0\4\5\6\0", 8));
}

TEST(Transform, MovesUndoThemselves) {
    for (int depth : {8, 24}) {
        for (auto [w, h] : {std::pair{7, 3}, {1, 5}, {6, 1}, {13, 11}}) {
            PictureBuffer p;
            loadRandom(p, w, h, depth, w * h);
            const std::string original = bitsOf(p);
            const std::string header = headerOf(p);
            for (int value : {kMirrorLeftRight, kUpsideDown}) {
                applyTransform(p, value, 1);
                EXPECT_EQ(p.width, w);
                applyTransform(p, value, 1);
                EXPECT_EQ(bitsOf(p), original);
            }
            applyTransform(p, kTurnClockwise, 1);
            EXPECT_EQ(p.width, h);
            EXPECT_EQ(p.height, w);
            applyTransform(p, kTurnAnticlockwise, 1);
            EXPECT_EQ(bitsOf(p), original);
            for (int i = 0; i < 4; ++i)
                applyTransform(p, kTurnClockwise, 1);
            EXPECT_EQ(bitsOf(p), original);
            EXPECT_EQ(headerOf(p), header);
        }
    }
}

TEST(Transform, ShapeRule) {
    struct Case {
        int w, h, value, rule, expected;
    };
    const Case cases[] = {
        {6, 8, kAutoTurnClockwise, 1, 1},
        {8, 6, kAutoTurnClockwise, 1, 0},
        {8, 6, kAutoTurnAnticlockwise, 0, 2},
        {6, 8, kAutoTurnAnticlockwise, 0, 0},
        {8, 6, kAutoTurnAnticlockwise, 1, 0},
        {6, 8, kAutoTurnAnticlockwise, 1, 2},
        {5, 5, kAutoTurnClockwise, 1, 0},
        {5, 5, kAutoTurnClockwise, 2, 0},
        {5, 5, 9, 1, 0},
    };
    for (const Case& c : cases) {
        PictureBuffer p;
        loadRandom(p, c.w, c.h, 24, 3);
        EXPECT_EQ(applyTransform(p, c.value, c.rule), c.expected)
            << c.w << "x" << c.h << " " << c.value;
        EXPECT_EQ(p.width, c.expected ? c.h : c.w);
    }
}

TEST(Pipeline, OptionsOrderAndLastRotation) {
    PictureBuffer p;
    loadRandom(p, 4, 6, 4, 1);
    EXPECT_EQ(processLoaded(p, {0, kTurnClockwise, 0, 1}), 1);
    EXPECT_EQ(lastRotation, 1);
    EXPECT_EQ(p.width, 4); // a 4-bit picture is not turned
    EXPECT_EQ(processLoaded(p, {1, kTurnClockwise, 0, 1}), 1);
    EXPECT_EQ(p.bitCount, 24);
    EXPECT_EQ(p.width, 6);
    EXPECT_EQ(processLoaded(p, {0, kMirrorLeftRight, 0, 1}), 0);
    EXPECT_EQ(lastRotation, 0);

    PictureBuffer q;
    loadRandom(q, 5, 5, 8, 2);
    const auto header = q.headerBlock, bits = q.bitsBlock;
    const std::string before = bitsOf(q);
    processLoaded(q, {});
    EXPECT_EQ(q.headerBlock, header);
    EXPECT_EQ(q.bitsBlock, bits);
    EXPECT_EQ(bitsOf(q), before);
    processLoaded(q, {0, 0, kNegative, 1});
    EXPECT_NE(bitsOf(q), before);
}

} // namespace
