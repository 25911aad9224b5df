// jxl_plugin_test.cpp - jxl.spi called through its exports.
#include <gtest/gtest.h>

#include "hostile/hostile_files.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/jxl_encoder.h"

using namespace plugin_testing;
using encoders::JxlOptions;

namespace {

struct JxlPlugin : ::testing::Test {
    LoadedPlugin plugin{"jxl"};
    testing_support::TempFolder folder;
};

JxlOptions lossless() {
    JxlOptions options;
    options.lossless = true;
    return options;
}

} // namespace

TEST_F(JxlPlugin, DescribesItselfAndTakesBothFormsByContent) {
    EXPECT_EQ(plugin.info(0), "00IN");
    EXPECT_EQ(plugin.info(2), "*.jxl");
    EXPECT_EQ(plugin.info(3), "JPEG XL files");
    encoders::Picture p = encoders::makePattern(8, 8, 3);
    JxlOptions boxed;
    boxed.container = true;
    for (const std::string& jxl : {encoders::encodeJxl(p), encoders::encodeJxl(p, boxed)}) {
        EXPECT_EQ(plugin.supportsFile(folder, jxl), 1);
        EXPECT_NE(plugin.supportsMemory(jxl), 0);
    }
    EXPECT_EQ(plugin.supportsMemory(encoders::encodeJpeg(p)), 0);
}

TEST_F(JxlPlugin, LosslessPicturesAreTheSameBmpAtEightAndSixteenBits) {
    encoders::Picture p = encoders::makePattern(37, 23, 3);
    std::string jxl = encoders::encodeJxl(p, lossless());
    expectSameAsBmp(decodeMemory(plugin, jxl), p);
    expectSameAsBmp(decodeFile(plugin, folder, jxl, 9), p);
    JxlOptions wide = lossless();
    wide.bitsPerSample = 16;
    wide.container = true;
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeJxl(p, wide)), p);
    encoders::Picture grey = encoders::makePattern(21, 12, 1, 7);
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeJxl(grey, lossless())), grey);
}

TEST_F(JxlPlugin, LossyPicturesComeOutInSrgbClose) {
    encoders::Picture p = gradient(64, 48);
    Decoded d = decodeMemory(plugin, encoders::encodeJxl(p));
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    // Lossy error stays within a few dozen levels at the gradient's edges;
    // linear-light output (no sRGB asked for) would be off by 70 in the middle.
    EXPECT_LE(largestDifference(d, p), 40);

    // Stored as linear light, shown as sRGB: a linear half comes out near 188.
    JxlOptions linear;
    linear.linearLight = true;
    encoders::Picture grey{8, 8, 3, std::vector<std::uint8_t>(8 * 8 * 3, 128)};
    Decoded converted = decodeMemory(plugin, encoders::encodeJxl(grey, linear));
    ASSERT_EQ(converted.result, SPI_ALL_RIGHT);
    EXPECT_NEAR(converted.pixel(4, 4)[1], 188, 3);
}

TEST_F(JxlPlugin, OrientationIsApplied) {
    encoders::Picture p = encoders::makePattern(13, 7, 3, 2);
    JxlOptions turned = lossless();
    turned.orientation = 6; // turned a quarter clockwise to be shown
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeJxl(p, turned)), turnedAnticlockwise(p, 3));
    JxlOptions mirrored = lossless();
    mirrored.orientation = 2;
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeJxl(p, mirrored)), mirroredLeftRight(p));
}

TEST_F(JxlPlugin, AlphaIsComposedOverWhite) {
    for (int channels : {2, 4}) {
        encoders::Picture p = encoders::makePattern(17, 9, channels, 4);
        expectSameAsBmp(decodeMemory(plugin, encoders::encodeJxl(p, lossless())), composedOverWhite(p));
    }
}

TEST_F(JxlPlugin, BrokenAndHugeInputGivesErrorCodes) {
    std::string jxl = encoders::encodeJxl(encoders::makePattern(30, 20, 3));
    EXPECT_EQ(decodePrefixes(plugin, jxl, 5), 0);
    std::string corrupt = jxl;
    for (size_t i = 12; i < corrupt.size(); i += 7) corrupt[i] = char(~corrupt[i]);
    EXPECT_GE(decodeMemory(plugin, corrupt).result, 0);
    EXPECT_EQ(decodeMemory(plugin, hostile::jxlClaiming(60000, 60000)).result, SPI_NO_MEMORY);
    EXPECT_EQ(decodeMemory(plugin, hostile::jxlClaiming(16385, 16384)).result, SPI_NO_MEMORY);
    EXPECT_EQ(decodeMemory(plugin, hostile::jxlClaiming(70000, 10)).result, SPI_NO_MEMORY);
    // Within the cap, but libjxl's frame would pass a decoder's share.
    EXPECT_EQ(decodeMemory(plugin, hostile::jxlClaiming(5000, 5000)).result, SPI_NO_MEMORY);
}
