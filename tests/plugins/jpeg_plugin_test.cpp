// jpeg_plugin_test.cpp - jpeg.spi called through its exports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <tuple>

#include "hostile/hostile_files.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/picture_encoders.h"

using namespace plugin_testing;

namespace {

// Four flat quadrants: red, green / blue, white. Flat areas survive JPEG almost
// unchanged, so colours and row order can be checked.
encoders::Picture quadrants(int width, int height) {
    encoders::Picture p{width, height, 3, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool right = x >= width / 2, bottom = y >= height / 2;
            std::uint8_t r = (!bottom && !right) || (bottom && right) ? 255 : 0;
            std::uint8_t g = (!bottom && right) || (bottom && right) ? 255 : 0;
            std::uint8_t b = bottom ? 255 : 0;
            p.pixels.insert(p.pixels.end(), {r, g, b});
        }
    return p;
}

void expectNear(std::array<std::uint8_t, 3> got, std::array<int, 3> bgr) {
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[size_t(c)], bgr[size_t(c)], 12) << "channel " << c;
}

void expectQuadrants(const Decoded& d) {
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    ASSERT_EQ(d.bitCount, 24);
    expectNear(d.pixel(4, 4), {0, 0, 255});
    expectNear(d.pixel(d.width - 5, 4), {0, 255, 0});
    expectNear(d.pixel(4, d.height - 5), {255, 0, 0});
    expectNear(d.pixel(d.width - 5, d.height - 5), {255, 255, 255});
}

struct JpegPlugin : ::testing::Test {
    LoadedPlugin plugin{"jpeg"};
    testing_support::TempFolder folder;
};

} // namespace

TEST_F(JpegPlugin, DescribesItselfAsAnImagePluginWithItsPatterns) {
    EXPECT_EQ(plugin.info(0), "00IN");
    EXPECT_FALSE(plugin.info(1).empty());
    EXPECT_EQ(plugin.info(2), "*.jpg;*.jpeg;*.jpe;*.jfif");
    EXPECT_EQ(plugin.info(3), "JPEG files");
    EXPECT_EQ(plugin.info(4), "");
    char small[3] = {'x', 'x', 'x'};
    EXPECT_EQ(plugin.getPluginInfo(2, small, 3), 2);
    EXPECT_STREQ(small, "*.");
}

TEST_F(JpegPlugin, TakesJpegByContentOnly) {
    std::string jpeg = encoders::encodeJpeg(quadrants(16, 16));
    EXPECT_EQ(plugin.supportsFile(folder, jpeg), 1);
    EXPECT_NE(plugin.supportsMemory(jpeg), 0);
    EXPECT_EQ(plugin.supportsFile(folder, ""), 0);
    EXPECT_EQ(plugin.supportsMemory(""), 0);
    std::string png = encoders::encodePng(quadrants(16, 16));
    EXPECT_EQ(plugin.supportsFile(folder, png), 0);
    EXPECT_EQ(plugin.supportsMemory(png), 0);
}

TEST_F(JpegPlugin, DecodesBaselineAndProgressiveColourBottomUp) {
    std::string baseline = encoders::encodeJpeg(quadrants(64, 48), 95);
    Decoded fromMemory = decodeMemory(plugin, baseline);
    expectQuadrants(fromMemory);
    EXPECT_EQ(fromMemory.width, 64);
    EXPECT_EQ(fromMemory.height, 48);
    EXPECT_EQ(fromMemory.paletteSize, 0);
    expectQuadrants(decodeMemory(plugin, encoders::encodeJpeg(quadrants(64, 48), 95, true)));

    // An odd width makes rows padded; the file form reads the same picture,
    // also when the picture starts at an offset inside the file.
    std::string odd = encoders::encodeJpeg(quadrants(37, 21), 95);
    Decoded memory = decodeMemory(plugin, odd);
    expectQuadrants(memory);
    Decoded file = decodeFile(plugin, folder, odd);
    Decoded offset = decodeFile(plugin, folder, odd, 100);
    ASSERT_EQ(file.result, SPI_ALL_RIGHT);
    ASSERT_EQ(offset.result, SPI_ALL_RIGHT);
    EXPECT_EQ(file.bits, memory.bits);
    EXPECT_EQ(offset.bits, memory.bits);
}

TEST_F(JpegPlugin, RowPaddingIsZeroInMemoryUsedBefore) {
    // The pixel block is not zero-filled first: the padding is set on its own.
    for (const auto& [width, channels, stride] : {std::tuple{37, 3, 112}, std::tuple{21, 1, 24}}) {
        const std::string jpeg = encoders::encodeJpeg(encoders::makePattern(width, 9, channels), 90);
        void* used = std::malloc(SPI_BLOCK_HEADER_BYTES + std::size_t(stride) * 9);
        std::memset(used, 0xFF, SPI_BLOCK_HEADER_BYTES + std::size_t(stride) * 9);
        std::free(used);
        const Decoded d = decodeMemory(plugin, jpeg);
        ASSERT_EQ(d.bits.size(), std::size_t(stride) * 9);
        for (int row = 0; row < 9; ++row)
            for (int at = width * channels; at < stride; ++at)
                EXPECT_EQ(d.bits[std::size_t(row * stride + at)], 0) << width << " " << row;
    }
}

TEST_F(JpegPlugin, GreyBecomesEightBitsWithAGreyPalette) {
    encoders::Picture grey{20, 10, 1, std::vector<std::uint8_t>(200, 0)};
    for (int x = 10; x < 20; ++x)
        for (int y = 0; y < 10; ++y) grey.pixels[size_t(y * 20 + x)] = 200;
    Decoded d = decodeMemory(plugin, encoders::encodeJpeg(grey, 100));
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    EXPECT_EQ(d.bitCount, 8);
    EXPECT_EQ(d.paletteSize, 256);
    expectNear(d.pixel(2, 5), {0, 0, 0});
    expectNear(d.pixel(17, 5), {200, 200, 200});
}

TEST_F(JpegPlugin, CmykIsConvertedToColour) {
    // Adobe CMYK stores ink inverted: (255, 0, 0, 255) is full magenta and yellow, red.
    encoders::Picture cmyk{16, 16, 4, {}};
    for (int i = 0; i < 256; ++i) cmyk.pixels.insert(cmyk.pixels.end(), {255, 0, 0, 255});
    Decoded d = decodeMemory(plugin, encoders::encodeJpeg(cmyk, 100));
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    EXPECT_EQ(d.bitCount, 24);
    expectNear(d.pixel(8, 8), {0, 0, 255});
}

TEST_F(JpegPlugin, BrokenInputGivesErrorCodes) {
    std::string jpeg = encoders::encodeJpeg(encoders::makePattern(40, 30, 3), 80);
    EXPECT_GE(decodePrefixes(plugin, jpeg, 7), 0);

    std::string corrupt = jpeg;
    for (size_t i = 20; i < corrupt.size(); i += 13) corrupt[i] = char(corrupt[i] ^ 0x5A);
    EXPECT_GE(decodeMemory(plugin, corrupt).result, 0);
    EXPECT_EQ(decodeMemory(plugin, "\xFF\xD8\xFF").result, SPI_OUT_OF_ORDER);
    EXPECT_EQ(decodeMemory(plugin, "GIF89a").result, SPI_NOT_SUPPORT);

    SpiHandle info = nullptr, bits = nullptr;
    EXPECT_EQ(plugin.getPicture((folder / "missing.jpg").c_str(), 0, SPI_INPUT_FILE, &info, &bits, nullptr, 0),
              SPI_FILE_READ_ERROR);
}

TEST_F(JpegPlugin, RefusesHugeDimensionsBeforeAllocating) {
    std::string jpeg = encoders::encodeJpeg(quadrants(16, 16));
    size_t sof = jpeg.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    const char side[2] = {char(0xEA), 0x60}; // 60000 x 60000
    jpeg.replace(sof + 5, 2, side, 2);
    jpeg.replace(sof + 7, 2, side, 2);
    EXPECT_EQ(decodeMemory(plugin, jpeg).result, SPI_NO_MEMORY);
    jpeg[sof + 7] = 0;
    jpeg[sof + 8] = 1; // 1 x 60000: fine to allocate, but the data runs out
    EXPECT_GE(decodeMemory(plugin, jpeg).result, 0);

    // A progressive picture of 12000 x 12000 fits the pixel cap, but its
    // coefficients (over 400 MB) would pass the decoder's share.
    std::string progressive = encoders::encodeJpeg(quadrants(16, 16), 90, true);
    EXPECT_EQ(decodeMemory(plugin, hostile::withJpegSize(progressive, 12000, 12000)).result,
              SPI_NO_MEMORY);
}

TEST_F(JpegPlugin, RefusesAProgressivePictureOfEndlessScans) {
    std::string jpeg = encoders::encodeJpeg(quadrants(16, 16), 90, true);
    EXPECT_EQ(decodeMemory(plugin, jpeg).result, SPI_ALL_RIGHT);
    // The last scan again and again: each one walks the whole picture anew.
    EXPECT_NE(decodeMemory(plugin, hostile::withRepeatedLastScan(jpeg, 1200)).result, SPI_ALL_RIGHT);
}
