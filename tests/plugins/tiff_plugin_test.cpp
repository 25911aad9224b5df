// tiff_plugin_test.cpp - tiff.spi and tiff_book.spi called through their
// exports: one page opens as a picture, more as a book of BMP pages.
#include <gtest/gtest.h>

#include <tiffio.h>

#include <cstring>

#include "hostile/hostile_files.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/tiff_encoder.h"

using namespace plugin_testing;
using encoders::TiffPage;

namespace {

struct TiffPlugins : ::testing::Test {
    LoadedPlugin image{"tiff"};
    LoadedPlugin book{"tiff_book"};
    testing_support::TempFolder folder;

    std::string save(const std::string& bytes) {
        std::string path = folder / "book.tif";
        testing_support::writeFile(path, bytes);
        return path;
    }
};

TiffPage page(const encoders::Picture& picture, int compression = COMPRESSION_NONE) {
    TiffPage p;
    p.picture = picture;
    p.compression = compression;
    return p;
}

std::uint32_t read32(const std::string& s, size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

encoders::Picture thresholded(const encoders::Picture& grey) {
    encoders::Picture p = grey;
    for (std::uint8_t& v : p.pixels) v = v >= 128 ? 255 : 0;
    return p;
}

} // namespace

TEST_F(TiffPlugins, OnePageIsAPictureAndMoreAreABook) {
    EXPECT_EQ(image.info(0), "00IN");
    EXPECT_EQ(image.info(2), "*.tif;*.tiff");
    EXPECT_EQ(book.info(0), "00AM");
    EXPECT_EQ(book.info(2), "*.tif;*.tiff");
    encoders::Picture p = encoders::makePattern(9, 7, 3);
    std::string one = encoders::encodeTiff({page(p)});
    std::string two = encoders::encodeTiff({page(p), page(p)});
    TiffPage thumbnail = page(encoders::makePattern(3, 2, 3));
    thumbnail.reducedImage = true;
    std::string oneWithThumbnail = encoders::encodeTiff({page(p), thumbnail});
    EXPECT_EQ(image.supportsFile(folder, one), 1);
    EXPECT_EQ(book.supportsFile(folder, one), 0);
    EXPECT_EQ(image.supportsFile(folder, two), 0);
    EXPECT_EQ(book.supportsFile(folder, two), 1);
    EXPECT_EQ(image.supportsFile(folder, oneWithThumbnail), 1);
    EXPECT_EQ(book.supportsFile(folder, oneWithThumbnail), 0);
    // An archive's member comes as a memory image without its length: the
    // picture plug-in takes any TIFF there (showing its first page).
    EXPECT_NE(image.supportsMemory(two), 0);
    EXPECT_EQ(book.supportsMemory(two), 0);
    EXPECT_EQ(image.supportsFile(folder, "II*\0garbage"), 0);
    EXPECT_EQ(image.supportsMemory(encoders::encodePng(p)), 0);
}

TEST_F(TiffPlugins, ColourStripsAreTheSameBmpWithEveryLosslessCompression) {
    encoders::Picture p = encoders::makePattern(37, 23, 3);
    for (int compression : {COMPRESSION_NONE, COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE, COMPRESSION_PACKBITS}) {
        SCOPED_TRACE(compression);
        std::string tiff = encoders::encodeTiff({page(p, compression)});
        expectSameAsBmp(decodeMemory(image, tiff), p);
        expectSameAsBmp(decodeFile(image, folder, tiff, 6), p);
    }
}

TEST_F(TiffPlugins, GreyBilevelAndPalettePagesKeepTheirDepth) {
    encoders::Picture grey = encoders::makePattern(21, 13, 1, 3);
    for (bool inverted : {false, true}) {
        TiffPage g = page(grey, COMPRESSION_LZW);
        g.minIsWhite = inverted;
        Decoded d = decodeMemory(image, encoders::encodeTiff({g}));
        ASSERT_EQ(d.result, SPI_ALL_RIGHT);
        EXPECT_EQ(d.bitCount, 8);
        EXPECT_EQ(d.paletteSize, 256);
        EXPECT_EQ(largestDifference(d, grey), 0) << inverted;

        TiffPage fax = page(grey, COMPRESSION_CCITTFAX4);
        fax.bitsPerSample = 1;
        fax.minIsWhite = inverted;
        Decoded bilevel = decodeMemory(image, encoders::encodeTiff({fax}));
        ASSERT_EQ(bilevel.result, SPI_ALL_RIGHT);
        EXPECT_EQ(bilevel.bitCount, 1);
        EXPECT_EQ(bilevel.paletteSize, 2);
        EXPECT_EQ(largestDifference(bilevel, thresholded(grey)), 0) << inverted;
    }
    TiffPage indexed = page(encoders::Picture{5, 3, 1, {0, 1, 2, 3, 15, 15, 3, 2, 1, 0, 7, 8, 9, 10, 11}});
    indexed.bitsPerSample = 4;
    for (int i = 0; i < 16; ++i)
        indexed.paletteRgb.insert(indexed.paletteRgb.end(), {std::uint8_t(i * 16), std::uint8_t(255 - i), 7});
    Decoded d = decodeMemory(image, encoders::encodeTiff({indexed}));
    ASSERT_EQ(d.result, SPI_ALL_RIGHT);
    EXPECT_EQ(d.bitCount, 4);
    EXPECT_EQ(d.paletteSize, 16);
    EXPECT_EQ(d.pixel(4, 0), (std::array<std::uint8_t, 3>{7, 240, 240})); // index 15, as B G R
    EXPECT_EQ(d.pixel(1, 1), (std::array<std::uint8_t, 3>{7, 252, 48}));  // index 3
}

TEST_F(TiffPlugins, TilesDeepSamplesPlanesAndOrientationGoThroughRgba) {
    encoders::Picture p = encoders::makePattern(37, 23, 3, 9);
    TiffPage tiled = page(p, COMPRESSION_ADOBE_DEFLATE);
    tiled.tileSide = 16;
    TiffPage deep = page(p, COMPRESSION_LZW);
    deep.bitsPerSample = 16;
    TiffPage planes = page(p);
    planes.separatePlanes = true;
    for (const TiffPage& variant : {tiled, deep, planes})
        expectSameAsBmp(decodeMemory(image, encoders::encodeTiff({variant})), p);

    // Stored bottom row first: shown the right way up.
    encoders::Picture upsideDown = turnedAnticlockwise(mirroredLeftRight(p), 2);
    TiffPage bottomUp = page(upsideDown);
    bottomUp.orientation = ORIENTATION_BOTLEFT;
    expectSameAsBmp(decodeMemory(image, encoders::encodeTiff({bottomUp})), p);

    // Unassociated alpha: libtiff premultiplies it, then it is composed over
    // white; each of the two roundings may cost a level.
    encoders::Picture rgba = encoders::makePattern(19, 11, 4, 5);
    Decoded composed = decodeMemory(image, encoders::encodeTiff({page(rgba)}));
    ASSERT_EQ(composed.result, SPI_ALL_RIGHT);
    EXPECT_EQ(composed.bitCount, 24);
    EXPECT_LE(largestDifference(composed, composedOverWhite(rgba)), 2);

    Decoded jpeg = decodeMemory(image, encoders::encodeTiff({page(gradient(64, 48), COMPRESSION_JPEG)}));
    ASSERT_EQ(jpeg.result, SPI_ALL_RIGHT);
    EXPECT_LE(largestDifference(jpeg, gradient(64, 48)), 16);
}

TEST_F(TiffPlugins, BrokenAndHugeInputGivesErrorCodes) {
    std::string tiff = encoders::encodeTiff({page(encoders::makePattern(30, 20, 3), COMPRESSION_LZW)});
    EXPECT_GE(decodePrefixes(image, tiff, 13), 0);
    std::string corrupt = tiff;
    for (size_t i = 8; i < corrupt.size(); i += 11) corrupt[i] = char(~corrupt[i]);
    EXPECT_GE(decodeMemory(image, corrupt).result, 0);
    std::string plain = encoders::encodeTiff({page(encoders::makePattern(30, 20, 3))});
    EXPECT_EQ(decodeMemory(image, hostile::withTiffSize(plain, 60000, 60000)).result, SPI_NO_MEMORY);
    EXPECT_EQ(decodeMemory(image, hostile::withTiffSize(plain, 16385, 16384)).result, SPI_NO_MEMORY);
    // Within the cap, but the RGBA reader's whole picture would pass a
    // decoder's share (16-bit samples go through it).
    TiffPage deep = page(encoders::makePattern(30, 20, 3));
    deep.bitsPerSample = 16;
    EXPECT_EQ(decodeMemory(image, hostile::withTiffSize(encoders::encodeTiff({deep}), 8000, 8000)).result, SPI_NO_MEMORY);
}

TEST_F(TiffPlugins, ABookListsItsPagesInOrderAndHandsEachOutAsItsBmp) {
    encoders::Picture colour = encoders::makePattern(30, 20, 3, 1);
    encoders::Picture grey = encoders::makePattern(40, 50, 1, 2);
    TiffPage fax = page(grey, COMPRESSION_CCITTFAX4);
    fax.bitsPerSample = 1;
    fax.minIsWhite = true;
    TiffPage thumbnail = page(encoders::makePattern(3, 2, 3));
    thumbnail.reducedImage = true;
    TiffPage tiled = page(encoders::makePattern(33, 17, 3, 3), COMPRESSION_LZW);
    tiled.tileSide = 16;
    std::string path = save(encoders::encodeTiff({page(colour), thumbnail, fax, tiled}));

    Listed listed = book.listFile(path);
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT);
    const std::vector<SpiFileInfo>& members = listed.members;
    ASSERT_EQ(members.size(), 3u);
    const char* names[] = {"0001.bmp", "0002.bmp", "0003.bmp"};
    const std::uint32_t directories[] = {0, 2, 3}; // the thumbnail is no page
    const int depths[] = {24, 1, 24};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_STREQ(members[i].filename, names[i]);
        EXPECT_EQ(members[i].position, directories[i]);
        int result = -1;
        std::string bmp = book.extract(path, long(members[i].position), result);
        ASSERT_EQ(result, SPI_ALL_RIGHT) << i;
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(members[i].filesize, bmp.size()) << i;
        EXPECT_EQ(read32(bmp, 2), bmp.size());
        EXPECT_EQ(decodedBmp(bmp).bitCount, depths[i]);
    }
    int result = -1;
    expectSameAsBmp(decodedBmp(book.extract(path, 0, result)), colour);
    expectSameAsBmp(decodedBmp(book.extract(path, 3, result)), tiled.picture);
    book.extract(path, 9, result);
    EXPECT_NE(result, SPI_ALL_RIGHT);
}

TEST_F(TiffPlugins, ABookListsFromMemoryAndRefusesBrokenFiles) {
    encoders::Picture p = encoders::makePattern(12, 8, 3);
    std::string tiff = encoders::encodeTiff({page(p), page(p), page(p)});
    std::vector<char> memory(tiff.begin(), tiff.end());
    Listed listed = book.list(memory.data(), long(memory.size()), SPI_INPUT_MEMORY);
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT);
    EXPECT_EQ(listed.members.size(), 3u);
    EXPECT_NE(book.listFile(save(std::string("II*\0\x08\0\0\0\0\0", 10))).result, SPI_ALL_RIGHT);
    // Every cut of the file lists or fails cleanly, and so does each page.
    for (size_t cut = 0; cut < tiff.size(); cut += 37) {
        std::string path = save(tiff.substr(0, cut));
        int result = -1;
        for (const SpiFileInfo& member : book.listFile(path).members) {
            std::string bmp = book.extract(path, long(member.position), result);
            if (result == SPI_ALL_RIGHT) {
                EXPECT_EQ(bmp.size(), member.filesize) << cut;
            }
        }
    }
}
