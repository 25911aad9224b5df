// heif_plugin_test.cpp - heif.spi called through its exports.
#include <gtest/gtest.h>

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

std::string box(const char* type, const std::string& payload) {
    std::uint32_t size = std::uint32_t(8 + payload.size());
    std::string bytes = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
    return bytes + type + payload;
}

std::string fullBox(const char* type, int version, const std::string& payload) {
    return box(type, std::string{char(version), 0, 0, 0} + payload);
}

std::string be16(unsigned v) { return {char(v >> 8), char(v)}; }
std::string be32(std::uint32_t v) { return be16(v >> 16) + be16(v & 0xFFFF); }

// The box `type` of an ISO-BMFF file, whole, found by its name.
std::string boxOf(const std::string& file, const char* type) {
    size_t at = file.find(type) - 4;
    std::uint32_t size = std::uint32_t(std::uint8_t(file[at])) << 24 | std::uint32_t(std::uint8_t(file[at + 1])) << 16 |
                         std::uint32_t(std::uint8_t(file[at + 2])) << 8 | std::uint8_t(file[at + 3]);
    return file.substr(at, size);
}

// A HEIF whose primary picture is a grid of one encoded tile: its header
// (ispe) says 64 x 64, its grid description says `width` x `height`.
std::string gridClaiming(unsigned width, unsigned height) {
    const std::string single = encoders::encodeHeif(encoders::makePattern(64, 64, 3));
    const std::string tile = boxOf(single, "mdat").substr(8);
    const std::string gridData = std::string{0, 0, 0, 0} + be16(width) + be16(height);
    auto ispe = [](unsigned w, unsigned h) { return fullBox("ispe", 0, be32(w) + be32(h)); };
    auto meta = [&](std::uint32_t tileOffset) {
        return fullBox(
            "meta", 0,
            fullBox("hdlr", 0, std::string(4, '\0') + "pict" + std::string(13, '\0')) + fullBox("pitm", 0, be16(2)) +
                fullBox("iinf", 0,
                        be16(2) + fullBox("infe", 2, be16(1) + be16(0) + "hvc1" + std::string(1, '\0')) +
                            fullBox("infe", 2, be16(2) + be16(0) + "grid" + std::string(1, '\0'))) +
                fullBox("iref", 0, box("dimg", be16(2) + be16(1) + be16(1))) +
                fullBox("iloc", 1,
                        std::string{0x44, 0} + be16(2) + be16(1) + be16(0) + be16(0) + be16(1) + be32(tileOffset) +
                            be32(std::uint32_t(tile.size())) + be16(2) + be16(1) + be16(0) + be16(1) + be32(0) +
                            be32(std::uint32_t(gridData.size()))) +
                box("idat", gridData) +
                box("iprp", box("ipco", boxOf(single, "hvcC") + ispe(64, 64) + ispe(64, 64)) +
                                fullBox("ipma", 0,
                                        be32(2) + be16(1) + std::string{2, char(0x81), 2} + be16(2) +
                                            std::string{1, 3})));
    };
    const std::string ftyp = box("ftyp", std::string("heic") + std::string(4, '\0') + "mif1heic");
    const std::uint32_t offset = std::uint32_t(ftyp.size() + meta(0).size() + 8);
    return ftyp + meta(offset) + box("mdat", tile);
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
    EXPECT_EQ(decodeMemory(plugin, withClaimedSize(heif, 60000, 60000)).result, SPI_NO_MEMORY);
    EXPECT_EQ(decodeMemory(plugin, withClaimedSize(heif, 16385, 16384)).result, SPI_NO_MEMORY);
    // Within the cap, but the decoder's planes would pass a decoder's share.
    EXPECT_EQ(decodeMemory(plugin, withClaimedSize(heif, 8000, 8000)).result, SPI_NO_MEMORY);
}

// A grid's canvas is allocated at the size its description gives, whatever
// its header says: a file of a few kilobytes claiming 60000 x 60000 made
// libheif allocate gigabytes until each side was held to 16384.
TEST_F(HeifPlugin, AGridClaimingAHugeCanvasIsRefusedBeforeDecoding) {
    Decoded small = decodeMemory(plugin, gridClaiming(64, 64));
    ASSERT_EQ(small.result, SPI_ALL_RIGHT); // the hand-made grid is a sound file
    EXPECT_EQ(small.width, 64);
    EXPECT_EQ(decodeMemory(plugin, gridClaiming(60000, 60000)).result, SPI_NO_MEMORY);
    EXPECT_EQ(decodeMemory(plugin, gridClaiming(16385, 64)).result, SPI_NO_MEMORY);
}
