// avif_plugin_test.cpp - avif.spi called through its exports.
#include <gtest/gtest.h>

#include "hostile/hostile_files.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/avif_encoder.h"

using namespace plugin_testing;
using encoders::AvifOptions;

namespace {

struct AvifPlugin : ::testing::Test {
    LoadedPlugin plugin{"avif"};
    testing_support::TempFolder folder;
};

} // namespace

TEST_F(AvifPlugin, DescribesItselfAndTakesAvifByItsBrands) {
    EXPECT_EQ(plugin.info(0), "00IN");
    EXPECT_EQ(plugin.info(2), "*.avif;*.avifs");
    EXPECT_EQ(plugin.info(3), "AVIF files");
    std::string avif = encoders::encodeAvif(encoders::makePattern(8, 8, 3));
    EXPECT_EQ(plugin.supportsFile(folder, avif), 1);
    EXPECT_NE(plugin.supportsMemory(avif), 0);
    // A brand among the compatible ones counts; an HEVC-only HEIF does not.
    EXPECT_NE(plugin.supportsMemory(std::string("\0\0\0\x18" "ftypmif1\0\0\0\0mif1avif", 24)), 0);
    EXPECT_EQ(plugin.supportsMemory(std::string("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24)), 0);
    // A brand past the box's own end is not the box's.
    EXPECT_EQ(plugin.supportsMemory(std::string("\0\0\0\x14" "ftypmif1\0\0\0\0mif1avif", 24)), 0);
    EXPECT_EQ(plugin.supportsMemory(encoders::encodePng(encoders::makePattern(4, 4, 3))), 0);
}

TEST_F(AvifPlugin, LosslessPicturesAreTheSameBmpFromMemoryAndFile) {
    encoders::Picture p = encoders::makePattern(37, 23, 3);
    AvifOptions lossless;
    lossless.lossless = true;
    std::string avif = encoders::encodeAvif(p, lossless);
    expectSameAsBmp(decodeMemory(plugin, avif), p);
    expectSameAsBmp(decodeFile(plugin, folder, avif, 5), p);
    encoders::Picture grey = encoders::makePattern(20, 11, 1, 3);
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeAvif(grey, lossless)), grey);
}

TEST_F(AvifPlugin, DeepAndLossyPicturesComeOutAsEightBitRgb) {
    encoders::Picture p = gradient(64, 48);
    for (int depth : {8, 10, 12}) {
        AvifOptions options;
        options.depth = depth;
        options.quality = 95;
        Decoded d = decodeMemory(plugin, encoders::encodeAvif(p, options));
        ASSERT_EQ(d.result, SPI_ALL_RIGHT) << depth;
        EXPECT_EQ(d.bitCount, 24);
        EXPECT_LE(largestDifference(d, p), 12) << depth;
    }
}

TEST_F(AvifPlugin, RotationAndMirroringAreApplied) {
    encoders::Picture p = encoders::makePattern(13, 7, 3, 2);
    AvifOptions turned;
    turned.lossless = true;
    turned.rotation = 1;
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeAvif(p, turned)), turnedAnticlockwise(p, 1));
    AvifOptions mirrored;
    mirrored.lossless = true;
    mirrored.mirror = 1;
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeAvif(p, mirrored)), mirroredLeftRight(p));
    // Rotation first, then the mirror.
    AvifOptions both = turned;
    both.mirror = 1;
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeAvif(p, both)), mirroredLeftRight(turnedAnticlockwise(p, 1)));
}

TEST_F(AvifPlugin, AlphaIsComposedOverWhite) {
    encoders::Picture p = encoders::makePattern(17, 9, 4, 4);
    AvifOptions lossless;
    lossless.lossless = true;
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeAvif(p, lossless)), composedOverWhite(p));
}

TEST_F(AvifPlugin, BrokenAndHugeInputGivesErrorCodes) {
    std::string avif = encoders::encodeAvif(encoders::makePattern(30, 20, 3));
    EXPECT_EQ(decodePrefixes(plugin, avif, 7), 0);
    std::string corrupt = avif;
    for (size_t i = 40; i < corrupt.size(); i += 9) corrupt[i] = char(~corrupt[i]);
    EXPECT_GE(decodeMemory(plugin, corrupt).result, 0);
    // A few hundred bytes that claim more pixels than the cap: libavif's
    // parser refuses them by the same cap, before anything is decoded.
    EXPECT_EQ(decodeMemory(plugin, hostile::withIspeSize(avif, 60000, 60000)).result, SPI_OUT_OF_ORDER);
    EXPECT_EQ(decodeMemory(plugin, hostile::withIspeSize(avif, 16385, 16384)).result, SPI_OUT_OF_ORDER);
    // Within the cap, but the AV1 decoder's planes would pass a decoder's share.
    EXPECT_EQ(decodeMemory(plugin, hostile::withIspeSize(avif, 12000, 12000)).result, SPI_NO_MEMORY);
}
