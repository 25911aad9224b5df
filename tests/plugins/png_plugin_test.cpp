// png_plugin_test.cpp - png.spi called through its exports.
#include <gtest/gtest.h>

#include "hostile/hostile_files.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/picture_encoders.h"

using namespace plugin_testing;

namespace {

struct PngPlugin : ::testing::Test {
    LoadedPlugin plugin{"png"};
    testing_support::TempFolder folder;
};

// Every pixel of an RGB picture, read back as the DIB holds it.
void expectSamePixels(const Decoded& d, const encoders::Picture& p) {
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    ASSERT_EQ(d.width, p.width);
    ASSERT_EQ(d.height, p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* px = &p.pixels[(size_t(y) * size_t(p.width) + size_t(x)) * 3];
            auto got = d.pixel(x, y);
            ASSERT_EQ(got[0], px[2]) << x << "," << y;
            ASSERT_EQ(got[1], px[1]) << x << "," << y;
            ASSERT_EQ(got[2], px[0]) << x << "," << y;
        }
}

std::uint8_t overWhite(unsigned v, unsigned a) { return std::uint8_t((v * a + 255 * (255 - a) + 127) / 255); }

} // namespace

TEST_F(PngPlugin, DescribesItselfAndTakesPngByContent) {
    EXPECT_EQ(plugin.info(0), "00IN");
    EXPECT_EQ(plugin.info(2), "*.png");
    EXPECT_EQ(plugin.info(3), "PNG files");
    EXPECT_EQ(plugin.info(4), "");
    std::string png = encoders::encodePng(encoders::makePattern(4, 4, 3));
    EXPECT_EQ(plugin.supportsFile(folder, png), 1);
    EXPECT_NE(plugin.supportsMemory(png), 0);
    EXPECT_EQ(plugin.supportsMemory(png.substr(0, 7)), 0);
    EXPECT_EQ(plugin.supportsMemory(encoders::encodeJpeg(encoders::makePattern(4, 4, 3))), 0);
}

TEST_F(PngPlugin, TrueColourIsExactAtEightSixteenBitsAndInterlaced) {
    encoders::Picture p = encoders::makePattern(33, 17, 3);
    expectSamePixels(decodeMemory(plugin, encoders::encodePng(p)), p);
    expectSamePixels(decodeMemory(plugin, encoders::encodePng(p, 16)), p);
    expectSamePixels(decodeMemory(plugin, encoders::encodePng(p, 8, true)), p);
    Decoded file = decodeFile(plugin, folder, encoders::encodePng(p), 33);
    EXPECT_EQ(file.bitCount, 24);
    expectSamePixels(file, p);
}

TEST_F(PngPlugin, PaletteWithoutTransparencyKeepsDepthAndPalette) {
    for (int depth : {1, 2, 4, 8}) {
        int colours = 1 << depth;
        std::vector<std::uint8_t> palette, indices;
        for (int i = 0; i < colours; ++i)
            palette.insert(palette.end(), {std::uint8_t(i * 7), std::uint8_t(255 - i), std::uint8_t(i * 3)});
        for (int i = 0; i < 13 * 5; ++i) indices.push_back(std::uint8_t((i * 5) % colours));
        Decoded d = decodeMemory(plugin, encoders::encodePalettePng(13, 5, indices, palette, depth));
        ASSERT_EQ(d.result, SPI_ALL_RIGHT) << depth;
        EXPECT_EQ(d.bitCount, depth);
        EXPECT_EQ(d.paletteSize, colours);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) {
                int index = indices[size_t(y * 13 + x)];
                auto got = d.pixel(x, y);
                ASSERT_EQ(got[2], palette[size_t(index) * 3]) << depth << " " << x << "," << y;
                ASSERT_EQ(got[1], palette[size_t(index) * 3 + 1]);
            }
    }
}

TEST_F(PngPlugin, TransparencyIsComposedOverWhite) {
    // A palette with tRNS: index 0 transparent, index 1 half-transparent black.
    std::vector<std::uint8_t> palette = {255, 0, 0, 0, 0, 0};
    Decoded d = decodeMemory(plugin, encoders::encodePalettePng(2, 1, {0, 1}, palette, 8, {0, 128}));
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(d.pixel(0, 0), (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(d.pixel(1, 0)[0], overWhite(0, 128));

    // Composed row by row, or whole when interlaced.
    encoders::Picture rgba = encoders::makePattern(9, 7, 4);
    for (bool interlaced : {false, true}) {
        Decoded composed = decodeMemory(plugin, encoders::encodePng(rgba, 16, interlaced));
        ASSERT_EQ(composed.result, SPI_ALL_RIGHT);
        EXPECT_EQ(composed.bitCount, 24);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) {
                const std::uint8_t* px = &rgba.pixels[(size_t(y) * 9 + size_t(x)) * 4];
                auto got = composed.pixel(x, y);
                ASSERT_EQ(got[2], overWhite(px[0], px[3])) << interlaced;
                ASSERT_EQ(got[0], overWhite(px[2], px[3])) << interlaced;
            }
    }

    encoders::Picture greyAlpha{2, 1, 2, {100, 255, 100, 0}};
    Decoded grey = decodeMemory(plugin, encoders::encodePng(greyAlpha));
    ASSERT_EQ(grey.result, SPI_ALL_RIGHT);
    EXPECT_EQ(grey.bitCount, 8);
    EXPECT_EQ(grey.pixel(0, 0)[0], 100);
    EXPECT_EQ(grey.pixel(1, 0)[0], 255);
}

TEST_F(PngPlugin, GreyBecomesEightBitsAtAnyInputDepth) {
    encoders::Picture grey{3, 2, 1, {0, 128, 255, 10, 20, 30}};
    for (int depth : {8, 16}) {
        Decoded d = decodeMemory(plugin, encoders::encodePng(grey, depth));
        ASSERT_EQ(d.result, SPI_ALL_RIGHT);
        EXPECT_EQ(d.bitCount, 8);
        EXPECT_EQ(d.paletteSize, 256);
        EXPECT_EQ(d.pixel(1, 0)[1], 128);
        EXPECT_EQ(d.pixel(2, 1)[2], 30);
    }
}

TEST_F(PngPlugin, BrokenAndHugeInputGivesErrorCodes) {
    std::string png = encoders::encodePng(encoders::makePattern(30, 20, 3));
    EXPECT_EQ(decodePrefixes(plugin, png, 5), 0);
    std::string corrupt = png;
    corrupt[40] = char(corrupt[40] ^ 0xFF);
    EXPECT_EQ(decodeMemory(plugin, corrupt).result, SPI_OUT_OF_ORDER);

    // IHDR claiming 60000 x 60000 (over the pixel cap) with a correct CRC,
    // and an interlaced picture with alpha claiming 8000 x 8000: within the
    // cap, but its 256 MB of rows waiting whole would pass the decoder's share.
    EXPECT_EQ(decodeMemory(plugin, hostile::withPngSize(png, 60000, 60000)).result, SPI_NO_MEMORY);
    std::string interlacedAlpha = encoders::encodePng(encoders::makePattern(16, 16, 4), 8, true);
    EXPECT_EQ(decodeMemory(plugin, hostile::withPngSize(interlacedAlpha, 8000, 8000)).result, SPI_NO_MEMORY);
}
