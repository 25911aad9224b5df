#include "platform/dib_layout.h"

#include <gtest/gtest.h>

#include "support/bmp_writer.h"

using namespace platform;

namespace {
const unsigned char* bytes(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}
void put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>(v >> (8 * i));
}
} // namespace

TEST(DibLayout, RowsArePaddedToFourBytesForEveryDepth) {
    EXPECT_EQ(dibRowBytes(1, 1), 4);
    EXPECT_EQ(dibRowBytes(33, 1), 8);
    EXPECT_EQ(dibRowBytes(5, 2), 4);
    EXPECT_EQ(dibRowBytes(3, 24), 12);
    EXPECT_EQ(dibRowBytes(3, 16), 8);
    for (int bitCount : {1, 2, 4, 8, 16, 24}) {
        testing_support::Dib dib = testing_support::makeDib(7, 5, bitCount);
        auto layout = readDibLayout(bytes(dib.header), dib.header.size(), dib.bits.size());
        ASSERT_TRUE(layout) << bitCount;
        EXPECT_EQ(layout->pixelBytes, dib.bits.size());
        EXPECT_EQ(layout->usablePalette, bitCount <= 8 ? 1 << bitCount : 0);
    }
}

TEST(DibLayout, ColoursUsedSetsThePaletteAndATopDownHeightIsKept) {
    testing_support::Dib dib = testing_support::makeDib(4, 2, 8);
    put32(dib.header, 32, 16);
    put32(dib.header, 8, static_cast<std::uint32_t>(-2));
    std::string packed = dib.header.substr(0, 40 + 16 * 4) + dib.bits;
    auto layout = readPackedDibLayout(bytes(packed), packed.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->paletteCount, 16);
    EXPECT_TRUE(layout->topDown);
    EXPECT_EQ(layout->height, 2);
    EXPECT_FALSE(readPackedDibLayout(bytes(packed), packed.size() - 1));
}

TEST(DibLayout, BrokenHeadersAreRefused) {
    testing_support::Dib dib = testing_support::makeDib(4, 4, 24);
    auto refused = [&](std::size_t at, std::uint32_t value) {
        std::string header = dib.header;
        put32(header, at, value);
        return !readDibLayout(bytes(header), header.size(), dib.bits.size());
    };
    EXPECT_TRUE(refused(4, 0));            // no width
    EXPECT_TRUE(refused(8, 0));            // no height
    EXPECT_TRUE(refused(8, 0x80000000u));  // a height that cannot be negated
    EXPECT_TRUE(refused(16, 1));           // compressed
    EXPECT_TRUE(refused(4, 0x7fffffffu));  // rows far beyond the bytes
    EXPECT_TRUE(refused(32, 0x7fffffffu)); // an absurd palette
    EXPECT_FALSE(readDibLayout(bytes(dib.header), 39, dib.bits.size()));
    // Rows and row length whose product passes 64 bits.
    std::string huge = dib.header;
    put32(huge, 4, 0x7fffffffu);
    put32(huge, 8, 0x7fffffffu);
    EXPECT_FALSE(readDibLayout(bytes(huge), huge.size(), dib.bits.size()));
}

TEST(DibLayout, PlainLayoutsAreThoseThePictureBufferReads) {
    for (int bitCount : {1, 2, 4, 8, 16, 24}) {
        testing_support::Dib dib = testing_support::makeDib(7, 5, bitCount);
        EXPECT_TRUE(readPlainDibLayout(bytes(dib.header), dib.header.size(), dib.bits.size()));
    }
    testing_support::Dib dib = testing_support::makeDib(16384, 1, 8);
    auto plain = [&](std::size_t at, std::uint32_t value) {
        std::string header = dib.header;
        put32(header, at, value);
        return readPlainDibLayout(bytes(header), header.size(), std::size_t{1} << 32).has_value();
    };
    EXPECT_TRUE(plain(8, 16384));            // 2^28 pixels: the cap
    EXPECT_FALSE(plain(8, 16385));           // past it
    EXPECT_FALSE(plain(8, 0xffffffffu));     // top-down
    EXPECT_FALSE(plain(0, 108));             // a V4 header
    EXPECT_FALSE(plain(14, 32));             // 32 bits
    EXPECT_FALSE(plain(32, 257));            // a palette past 256 entries
    EXPECT_FALSE(plain(4, (1u << 20) + 1));  // a side past 2^20
}
