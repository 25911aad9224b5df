#include "picture/picture_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "picture/screen_bitmap.h"
#include "picture_fixture.h"
#include "support/bmp_writer.h"

namespace {

BlockPair dibBlocks(int w, int h, int bits) {
    const auto dib = testing_support::makeDib(w, h, bits);
    return blocksOf(dib.header, dib.bits);
}

TEST(PictureBuffer, OwnershipMovesWithoutCopies) {
    PictureBuffer a, b;
    a.freeBlocks(); // empty: nothing to free
    BlockPair first = dibBlocks(3, 2, 8);
    a.attach(first.header, first.bits);
    EXPECT_EQ(a.owned, 1);
    EXPECT_EQ(a.width, 3);
    EXPECT_EQ(a.height, 2);
    EXPECT_EQ(a.bitCount, 8);
    EXPECT_EQ(a.stride, 4);

    b.attach(a.headerBlock, a.bitsBlock);
    a.release();
    EXPECT_EQ(b.headerBlock, first.header); // the same blocks, not copies
    a.freeBlocks();
    EXPECT_TRUE(platform::isValidBlock(first.header));

    BlockPair second = dibBlocks(1, 1, 24);
    b.attach(second.header, second.bits); // frees the first picture
    EXPECT_EQ(b.stride, 4);
    b.freeBlocks();
    b.freeBlocks();
    EXPECT_EQ(b.owned, 0);
}

TEST(PictureBuffer, SizesOfRowsAndPackedDibs) {
    EXPECT_EQ(rowBytes(1, 24), 4);
    EXPECT_EQ(rowBytes(1, 1), 4);
    EXPECT_EQ(rowBytes(33, 1), 8);
    EXPECT_EQ(rowBytes(5, 24), 16);
    EXPECT_EQ(packedDibSize(3, 2, 8), 1072);
    EXPECT_EQ(packedDibSize(3, 2, 8, 16), 112);
    EXPECT_EQ(packedDibSize(3, 2, 1), 2 * 4 + 48);
    EXPECT_EQ(packedDibSize(3, 2, 24), 2 * 12 + 40);
    PictureBuffer p;
    EXPECT_EQ(p.productTable[256][256], 256);
    EXPECT_EQ(p.productTable[255][255], 254);
    EXPECT_EQ(p.productTable[128][3], 1);
}

TEST(PictureBuffer, AllocateLikeCopiesHeaderAndPalette) {
    PictureBuffer p;
    loadRandom(p, 5, 3, 4, 7);
    const BlockPair like = p.allocateLike(7, 9);
    ASSERT_NE(like.header, nullptr);
    EXPECT_EQ(platform::blockSize(like.header), 40u + 64u);
    EXPECT_EQ(platform::blockSize(like.bits), 9u * 4u);
    const std::string old = headerOf(p);
    const std::string copy(reinterpret_cast<const char*>(platform::lockBlock(like.header)), 104);
    EXPECT_EQ(copy.substr(40), old.substr(40, 64));
    EXPECT_EQ(copy[4], 7);
    EXPECT_EQ(copy[8], 9);

    const BlockPair conv = p.allocateConverted(2, 2);
    EXPECT_EQ(platform::blockSize(conv.header), 40u);
    EXPECT_EQ(platform::lockBlock(conv.header)[14], 24);
    EXPECT_EQ(platform::blockSize(conv.bits), 16u);
    for (auto b : {like, conv}) {
        platform::freeBlock(b.header);
        platform::freeBlock(b.bits);
    }
}

TEST(PictureBuffer, NewBlocksHaveZeroRowPadding) {
    PictureBuffer p;
    loadRandom(p, 5, 3, 4, 7);
    // 7 pixels of 4 bits fill 3 bytes and half of the fourth; 5 of 24 bits
    // fill 15 of 16.
    const BlockPair like = p.allocateLike(7, 9);
    const BlockPair conv = p.allocateConverted(5, 6);
    for (int y = 0; y < 9; ++y)
        EXPECT_EQ(platform::lockBlock(like.bits)[4 * y + 3], 0) << y;
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(platform::lockBlock(conv.bits)[16 * y + 15], 0) << y;
    for (auto b : {like, conv}) {
        platform::freeBlock(b.header);
        platform::freeBlock(b.bits);
    }
}

TEST(PictureBuffer, ConvertTo24From16BitsAndPalettes) {
    std::string header(40, '\0');
    header[0] = 40;
    header[4] = 2;
    header[8] = 1;
    header[12] = 1;
    header[14] = 16;
    const std::string bits("\xFF\x7F\x1F\x00", 4);
    BlockPair blocks = blocksOf(header, bits);
    PictureBuffer p;
    p.attach(blocks.header, blocks.bits);
    p.convertTo24();
    EXPECT_EQ(p.bitCount, 24);
    EXPECT_EQ(p.stride, 8);
    EXPECT_EQ(bitsOf(p), std::string("\xF8\xF8\xF8\xF8\x00\x00\0\0", 8));

    for (int depth : {1, 2, 4, 8})
        for (int width : {13, 64, 203}) {
            PictureBuffer q;
            loadRandom(q, width, 5, depth, depth + width);
            const std::string pal = headerOf(q).substr(40);
            const std::string src = bitsOf(q);
            const int stride = q.stride;
            q.convertTo24();
            ASSERT_EQ(q.bitCount, 24);
            EXPECT_EQ(q.colorsUsed, 0);
            const std::string out = bitsOf(q);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < width; ++x) {
                    const auto* row =
                        reinterpret_cast<const unsigned char*>(src.data()) + y * stride;
                    const int index = depth == 8 ? row[x] : pixelIndex(row, x, depth);
                    EXPECT_EQ(out.substr(y * q.stride + 3 * x, 3), pal.substr(4 * index, 3))
                        << depth << " " << width;
                }
        }

    // A grey ramp, the palette of a greyscale scan, gives each index as its grey.
    PictureBuffer g;
    loadRandom(g, 203, 3, 8, 5);
    unsigned char* ramp = platform::lockBlock(g.headerBlock) + 40;
    for (int i = 0; i < 256; ++i)
        std::memset(ramp + 4 * i, i, 3);
    const std::string indices = bitsOf(g);
    const int indexStride = g.stride;
    g.convertTo24();
    const std::string greys = bitsOf(g);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 203; ++x)
            EXPECT_EQ(greys.substr(y * g.stride + 3 * x, 3),
                      std::string(3, indices[y * indexStride + x]));

    PictureBuffer t;
    loadRandom(t, 3, 3, 24, 1);
    const auto before = t.bitsBlock;
    t.convertTo24();
    EXPECT_EQ(t.bitsBlock, before);
}

// Pictures the operations cannot read safely are held and moved but never
// touched; the sanitizer build catches any read past their blocks.
TEST(PictureBuffer, UnhandledPicturesAreLeftAlone) {
    auto variant = [](auto change) {
        auto dib = testing_support::makeDib(4, 4, 8);
        change(dib);
        return dib;
    };
    const testing_support::Dib cases[] = {
        variant([](auto& d) { d.header[14] = 32; }), // other depth
        variant([](auto& d) {
            d.header[8] = static_cast<char>(-4);
            d.header[9] = d.header[10] = d.header[11] = char(0xFF);
        }),
        variant([](auto& d) { d.header[16] = 1; }),     // RLE
        variant([](auto& d) { d.header[0] = 108; }),    // longer header
        variant([](auto& d) { d.bits.resize(5); }),     // short rows
        variant([](auto& d) { d.header.resize(100); }), // short palette
        variant([](auto& d) { d.header.resize(20); }),  // short header
    };
    for (const auto& dib : cases) {
        PictureBuffer p;
        BlockPair blocks = blocksOf(dib.header, dib.bits);
        p.attach(blocks.header, blocks.bits);
        EXPECT_FALSE(p.isHandled());
        p.convertTo24();
        EXPECT_EQ(p.bitsBlock, blocks.bits);
        EXPECT_EQ(p.allocateLike(2, 2).header, nullptr);
    }
}

TEST(PictureBuffer, ShortPaletteReadsAsBlack) {
    auto dib = testing_support::makeDib(2, 1, 8);
    dib.header.resize(40 + 8);
    dib.header[32] = 2; // biClrUsed 2
    dib.bits[0] = 1;
    dib.bits[1] = char(200);
    PictureBuffer p;
    BlockPair blocks = blocksOf(dib.header, dib.bits);
    p.attach(blocks.header, blocks.bits);
    ASSERT_TRUE(p.isHandled());
    p.convertTo24();
    EXPECT_EQ(bitsOf(p).substr(0, 6), dib.header.substr(44, 3) + std::string(3, '\0'));
}

TEST(ScreenBitmap, ResizeAndDestroy) {
    ScreenBitmap s;
    s.resize(5, 3);
    EXPECT_EQ(s.stride(), 16);
    ASSERT_NE(s.bits, nullptr);
    s.bits[16 * 3 - 1] = 1;
    s.resize(0, 3);
    EXPECT_EQ(s.bits, nullptr);
    s.resize(2, 2);
    EXPECT_EQ(s.bits[15], 0);
    s.destroy();
    EXPECT_EQ(s.width, 0);
}

} // namespace
