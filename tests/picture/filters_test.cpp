#include "picture/filters.h"

#include <gtest/gtest.h>

#include "picture/picture_buffer.h"
#include "picture_fixture.h"
#include "support/bmp_writer.h"

namespace {

// A 24-bit w x h picture whose every pixel byte is `v`.
void loadUniform(PictureBuffer& p, int w, int h, int bits, unsigned char v) {
    auto dib = testing_support::makeDib(w, h, bits);
    const int stride = static_cast<int>(rowBytes(w, bits));
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < w * bits / 8; ++i)
            dib.bits[y * stride + i] = static_cast<char>(v);
    BlockPair b = blocksOf(dib.header, dib.bits);
    p.attach(b.header, b.bits);
}

unsigned char firstByteAfter(int value, unsigned char v) {
    PictureBuffer p;
    loadUniform(p, 3, 3, 24, v);
    applyFilter(p, value);
    return static_cast<unsigned char>(bitsOf(p)[0]);
}

TEST(Filters, PointFilters) {
    EXPECT_EQ(firstByteAfter(kBrighten, 200), 250);
    EXPECT_EQ(firstByteAfter(kBrighten, 255), 255);
    EXPECT_EQ(firstByteAfter(kDarken, 255), 192);
    EXPECT_EQ(firstByteAfter(kDarken, 3), 3);
    EXPECT_EQ(firstByteAfter(kNegative, 3), 252);

    PictureBuffer g;
    loadUniform(g, 1, 1, 24, 0);
    unsigned char* px = platform::lockBlock(g.bitsBlock);
    px[0] = 10, px[1] = 20, px[2] = 31;
    applyFilter(g, kGrey);
    EXPECT_EQ(bitsOf(g).substr(0, 4), std::string("\x14\x14\x14\0", 4));
}

TEST(Filters, FixedPointsAndPaddingUntouched) {
    for (int value : {kBlur, kSharpen, kBlurII, kBlockEdgeSmoothing}) {
        PictureBuffer p;
        loadUniform(p, 21, 19, 24, 100);
        const std::string before = bitsOf(p);
        applyFilter(p, value);
        EXPECT_EQ(bitsOf(p), before) << value;
    }
    PictureBuffer neg;
    loadRandom(neg, 5, 4, 24, 9);
    const std::string before = bitsOf(neg);
    applyFilter(neg, kNegative);
    applyFilter(neg, kNegative);
    EXPECT_EQ(bitsOf(neg), before);
    applyFilter(neg, kNegative);
    EXPECT_EQ(bitsOf(neg)[15], 0); // padding of the 5-pixel row
}

TEST(Filters, LeftAloneCases) {
    struct Case {
        int w, h, bits, value;
    };
    const Case cases[] = {{6, 1, 24, kBlur}, {6, 2, 24, kSharpen},          {6, 2, 8, kBlurII},
                          {6, 4, 8, kGrey},  {6, 4, 4, kNegative},          {6, 4, 16, kNegative},
                          {6, 4, 24, 9},     {9, 4, 8, kBlockEdgeSmoothing}};
    for (const Case& c : cases) {
        PictureBuffer p;
        loadRandom(p, c.w, c.h, c.bits, 5);
        const std::string before = bitsOf(p);
        applyFilter(p, c.value);
        EXPECT_EQ(bitsOf(p), before) << c.value;
    }
    // An explicit palette size in the header blocks the filter, 24-bit
    // conversion lifts it.
    auto dib = testing_support::makeDib(4, 4, 8);
    dib.header[33] = 1; // biClrUsed 256
    BlockPair b = blocksOf(dib.header, dib.bits);
    PictureBuffer p;
    p.attach(b.header, b.bits);
    const std::string before = bitsOf(p);
    applyFilter(p, kNegative);
    EXPECT_EQ(bitsOf(p), before);
    p.convertTo24();
    const std::string converted = bitsOf(p);
    applyFilter(p, kNegative);
    EXPECT_NE(bitsOf(p), converted);
}

} // namespace
