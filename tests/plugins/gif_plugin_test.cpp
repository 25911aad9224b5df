// gif_plugin_test.cpp - gif.spi called through its exports.
#include <gtest/gtest.h>

#include "hostile/hostile_files.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/picture_encoders.h"

using namespace plugin_testing;

namespace {

struct GifPlugin : ::testing::Test {
    LoadedPlugin plugin{"gif"};
    testing_support::TempFolder folder;
    std::vector<std::uint8_t> palette;
    std::vector<std::uint8_t> indices;

    void SetUp() override {
        for (int i = 0; i < 16; ++i)
            palette.insert(palette.end(), {std::uint8_t(i * 16), std::uint8_t(i * 8), std::uint8_t(255 - i * 16)});
        for (int i = 0; i < 21 * 11; ++i) indices.push_back(std::uint8_t((i / 3 + i / 21) % 16));
    }
};

} // namespace

TEST_F(GifPlugin, DescribesItselfAndTakesGifByContent) {
    EXPECT_EQ(plugin.info(0), "00IN");
    EXPECT_EQ(plugin.info(2), "*.gif");
    EXPECT_EQ(plugin.info(3), "GIF files");
    std::string gif = encoders::encodeGif(21, 11, indices, palette);
    EXPECT_EQ(plugin.supportsFile(folder, gif), 1);
    EXPECT_NE(plugin.supportsMemory(gif), 0);
    EXPECT_EQ(plugin.supportsMemory("GIF90a"), 0);
}

TEST_F(GifPlugin, FirstFrameIsEightBitsWithItsPalette) {
    for (bool interlaced : {false, true}) {
        std::string gif = encoders::encodeGif(21, 11, indices, palette, -1, interlaced);
        for (const Decoded& d : {decodeMemory(plugin, gif), decodeFile(plugin, folder, gif, 7)}) {
            ASSERT_EQ(d.result, SPI_ALL_RIGHT);
            EXPECT_EQ(d.bitCount, 8);
            EXPECT_EQ(d.paletteSize, 256);
            for (int y = 0; y < 11; ++y)
                for (int x = 0; x < 21; ++x) {
                    size_t index = indices[size_t(y * 21 + x)];
                    auto got = d.pixel(x, y);
                    ASSERT_EQ(got[2], palette[index * 3]) << interlaced << " " << x << "," << y;
                    ASSERT_EQ(got[0], palette[index * 3 + 2]);
                }
        }
    }
}

TEST_F(GifPlugin, TransparentPixelsShowWhite) {
    Decoded d = decodeMemory(plugin, encoders::encodeGif(21, 11, indices, palette, 0));
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    EXPECT_EQ(d.pixel(0, 0), (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(d.pixel(3, 0)[2], palette[3]);
}

TEST_F(GifPlugin, BrokenAndHugeInputGivesErrorCodes) {
    std::string gif = encoders::encodeGif(21, 11, indices, palette);
    EXPECT_GE(decodePrefixes(plugin, gif, 3), 0);
    EXPECT_EQ(decodeMemory(plugin, "GIF89a").result, SPI_OUT_OF_ORDER);
    // A header and screen but no frame.
    EXPECT_EQ(decodeMemory(plugin, gif.substr(0, 13 + 48) + ";").result, SPI_OUT_OF_ORDER);
    // A 65535 x 65535 screen around the frame costs nothing: the picture is
    // the frame. A frame that size is refused before anything is allocated.
    Decoded framed = decodeMemory(plugin, hostile::withGifScreen(gif, 65535, 65535));
    ASSERT_EQ(framed.result, SPI_ALL_RIGHT);
    EXPECT_EQ(framed.width, 21);
    EXPECT_EQ(framed.height, 11);
    EXPECT_EQ(decodeMemory(plugin, hostile::withGifFrame(gif, 0, 0, 65535, 65535)).result, SPI_NO_MEMORY);
}
