// heif_plugin_test.cpp - heif.spi called through its exports.
#include <gtest/gtest.h>

#include "hostile/hostile_files.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/heif_encoder.h"

using namespace plugin_testing;
using encoders::HeifOptions;

namespace {

struct HeifPlugin : ::testing::Test {
    LoadedPlugin plugin{"heif"};
    testing_support::TempFolder folder;
};

HeifOptions lossless() {
    HeifOptions options;
    options.lossless = true;
    return options;
}

} // namespace

TEST_F(HeifPlugin, DescribesItselfAndTakesHevcBrandsOnly) {
    EXPECT_EQ(plugin.info(0), "00IN");
    EXPECT_EQ(plugin.info(2), "*.heic;*.heif;*.hif");
    EXPECT_EQ(plugin.info(3), "HEIF files");
    std::string heif = encoders::encodeHeif(encoders::makePattern(8, 8, 3));
    EXPECT_EQ(plugin.supportsFile(folder, heif), 1);
    EXPECT_NE(plugin.supportsMemory(heif), 0);
    EXPECT_NE(plugin.supportsMemory(std::string("\0\0\0\x14" "ftypmif1\0\0\0\0mif1", 20)), 0);
    // AVIF files share the generic brands; naming AVIF leaves them to avif.spi.
    EXPECT_EQ(plugin.supportsMemory(std::string("\0\0\0\x18" "ftypavif\0\0\0\0mif1miaf", 24)), 0);
    EXPECT_EQ(plugin.supportsMemory(std::string("\0\0\0\x18" "ftypmif1\0\0\0\0mif1avif", 24)), 0);
    EXPECT_EQ(plugin.supportsMemory(std::string("\0\0\0\x18" "ftypisom\0\0\0\0isommp41", 24)), 0);
}

TEST_F(HeifPlugin, LosslessPicturesAreTheSameBmpAtEightAndTenBits) {
    encoders::Picture p = encoders::makePattern(38, 24, 3);
    std::string heif = encoders::encodeHeif(p, lossless());
    expectSameAsBmp(decodeMemory(plugin, heif), p);
    expectSameAsBmp(decodeFile(plugin, folder, heif, 11), p);
    HeifOptions deep = lossless();
    deep.depth = 10;
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeHeif(p, deep)), p);
}

TEST_F(HeifPlugin, LossyPicturesComeOutClose) {
    encoders::Picture p = gradient(64, 48);
    Decoded d = decodeMemory(plugin, encoders::encodeHeif(p));
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    EXPECT_LE(largestDifference(d, p), 16);
}

TEST_F(HeifPlugin, AlphaIsComposedOverWhite) {
    encoders::Picture p = encoders::makePattern(18, 10, 4, 4);
    expectSameAsBmp(decodeMemory(plugin, encoders::encodeHeif(p, lossless())), composedOverWhite(p));
}

TEST_F(HeifPlugin, BrokenAndHugeInputGivesErrorCodes) {
    std::string heif = encoders::encodeHeif(encoders::makePattern(30, 20, 3));
    EXPECT_EQ(decodePrefixes(plugin, heif, 11), 0);
    std::string corrupt = heif;
    for (size_t i = 40; i < corrupt.size(); i += 9) corrupt[i] = char(~corrupt[i]);
    EXPECT_GE(decodeMemory(plugin, corrupt).result, 0);
    EXPECT_EQ(decodeMemory(plugin, hostile::withIspeSize(heif, 60000, 60000)).result, SPI_NO_MEMORY);
    EXPECT_EQ(decodeMemory(plugin, hostile::withIspeSize(heif, 16385, 16384)).result, SPI_NO_MEMORY);
    // Within the cap, but the decoder's planes would pass a decoder's share.
    EXPECT_EQ(decodeMemory(plugin, hostile::withIspeSize(heif, 8000, 8000)).result, SPI_NO_MEMORY);
}

// A grid's canvas is allocated at the size its description gives, whatever
// its header says: a file of a few kilobytes claiming 60000 x 60000 made
// libheif allocate gigabytes, until the canvas was read before decoding.
TEST_F(HeifPlugin, AGridClaimingAHugeCanvasIsRefusedBeforeDecoding) {
    const std::string tile = encoders::encodeHeif(encoders::makePattern(64, 64, 3));
    Decoded small = decodeMemory(plugin, hostile::heifGridClaiming(tile, 64, 64));
    ASSERT_EQ(small.result, SPI_ALL_RIGHT); // the hand-made grid is a sound file
    EXPECT_EQ(small.width, 64);
    EXPECT_EQ(decodeMemory(plugin, hostile::heifGridClaiming(tile, 60000, 60000)).result, SPI_NO_MEMORY);
    EXPECT_EQ(decodeMemory(plugin, hostile::heifGridClaiming(tile, 12000, 12000)).result, SPI_NO_MEMORY);
}
