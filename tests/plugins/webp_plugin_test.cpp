// webp_plugin_test.cpp - webp.spi called through its exports.
#include <gtest/gtest.h>

#include "hostile/hostile_files.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/picture_encoders.h"

using namespace plugin_testing;

namespace {
struct WebpPlugin : ::testing::Test {
    LoadedPlugin plugin{"webp"};
    testing_support::TempFolder folder;
};
} // namespace

TEST_F(WebpPlugin, DescribesItselfAndTakesWebpByContent) {
    EXPECT_EQ(plugin.info(0), "00IN");
    EXPECT_EQ(plugin.info(2), "*.webp");
    EXPECT_EQ(plugin.info(3), "WebP files");
    std::string webp = encoders::encodeWebp(encoders::makePattern(8, 8, 3));
    EXPECT_EQ(plugin.supportsFile(folder, webp), 1);
    EXPECT_NE(plugin.supportsMemory(webp), 0);
    EXPECT_EQ(plugin.supportsMemory("RIFF\0\0\0\0WAVE"), 0);
}

TEST_F(WebpPlugin, LosslessDecodesExactlyBottomUp) {
    encoders::Picture p = encoders::makePattern(19, 9, 3);
    std::string webp = encoders::encodeWebp(p, true);
    for (const Decoded& d : {decodeMemory(plugin, webp), decodeFile(plugin, folder, webp, 3)}) {
        ASSERT_EQ(d.result, SPI_ALL_RIGHT);
        EXPECT_EQ(d.bitCount, 24);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 19; ++x) {
                const std::uint8_t* px = &p.pixels[(size_t(y) * 19 + size_t(x)) * 3];
                auto got = d.pixel(x, y);
                ASSERT_EQ(got[0], px[2]) << x << "," << y;
                ASSERT_EQ(got[2], px[0]) << x << "," << y;
            }
    }
    Decoded lossy = decodeMemory(plugin, encoders::encodeWebp(p, false, 75));
    EXPECT_EQ(lossy.result, SPI_ALL_RIGHT);
    EXPECT_EQ(lossy.width, 19);
}

TEST_F(WebpPlugin, AlphaIsComposedOverWhite) {
    encoders::Picture p{2, 2, 4, {0, 0, 0, 0, /**/ 200, 0, 0, 255, /**/ 0, 0, 0, 255, /**/ 0, 0, 0, 0}};
    Decoded d = decodeMemory(plugin, encoders::encodeWebp(p, true));
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(d.pixel(0, 0), (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(d.pixel(1, 0), (std::array<std::uint8_t, 3>{0, 0, 200}));
    EXPECT_EQ(d.pixel(0, 1), (std::array<std::uint8_t, 3>{0, 0, 0}));
}

// A lossless WebP may claim 16383 x 16383 in a few bytes: libwebp would
// hold it whole at 4 bytes a pixel beside the DIB, so it is refused before
// anything is allocated.
TEST_F(WebpPlugin, RefusesALosslessPictureTooLargeToHoldTwice) {
    std::string webp = encoders::encodeWebp(encoders::makePattern(4, 4, 3), true);
    EXPECT_EQ(decodeMemory(plugin, webp).result, SPI_ALL_RIGHT);
    webp = hostile::withWebpLosslessSize(webp, 16383, 16383);
    EXPECT_EQ(decodeMemory(plugin, webp).result, SPI_NO_MEMORY);
}

TEST_F(WebpPlugin, BrokenInputGivesErrorCodes) {
    std::string webp = encoders::encodeWebp(encoders::makePattern(30, 20, 3), false, 60);
    EXPECT_GE(decodePrefixes(plugin, webp, 9), 0);
    std::string corrupt = webp;
    for (size_t i = 30; i < corrupt.size(); i += 5) corrupt[i] = char(~corrupt[i]);
    EXPECT_GE(decodeMemory(plugin, corrupt).result, 0);
    EXPECT_EQ(decodeMemory(plugin, std::string("RIFF\x04\0\0\0WEBP", 12)).result, SPI_OUT_OF_ORDER);
}
