#include "sources/plain_dib.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/dib_layout.h"
#include "plugin_folder.h"
#include "sources/page_list.h"
#include "support/bmp_writer.h"

using testing_support::BmpParts;
using testing_support::makeBmpFile;
using testing_support::PluginFolder;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

std::string word32(std::uint32_t v) {
    return bytes({int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24)});
}

void patch32(std::string& file, std::size_t at, std::uint32_t v) {
    file.replace(at, 4, word32(v));
}

// Three pixels a row, two rows, blue-green-red, the top row first; every
// channel a multiple of 8 so that 5- and 6-bit channels hold it exactly.
const unsigned char kPicture[2][3][3] = {{{8, 16, 248}, {0, 128, 64}, {200, 0, 8}},
                                         {{248, 248, 248}, {0, 0, 0}, {40, 80, 120}}};

// Rows of the picture with `pixel` writing each pixel, padded to 4 bytes,
// the bottom row first unless `topDown`.
template <typename Pixel> std::string rowsOf(Pixel pixel, bool topDown) {
    std::string rows;
    for (int r = 0; r < 2; ++r) {
        std::string line;
        for (const auto& p : kPicture[topDown ? r : 1 - r]) line += pixel(p);
        line.resize((line.size() + 3) & ~std::size_t{3}, '\0');
        rows += line;
    }
    return rows;
}

std::string bgr(const unsigned char* p) {
    return bytes({p[0], p[1], p[2]});
}

// The 24-bit rows every conversion must give.
std::string plainRows() {
    return rowsOf(bgr, false);
}

std::string bgrx(const unsigned char* p) {
    return bytes({p[0], p[1], p[2], 0x5A});
}

std::string rgb565(const unsigned char* p) {
    const int v = (p[2] >> 3) << 11 | (p[1] >> 2) << 5 | p[0] >> 3;
    return bytes({v & 0xFF, v >> 8});
}

struct Loaded {
    int result = 0;
    std::string header;
    std::string bits;
};

// The file through the built-in reader, from memory as an archive member.
Loaded readBmp(const std::string& file) {
    static PluginFolder plugins;
    PageList list(plugins.path());
    platform::MemoryHandle block = platform::allocateBlock(file.size());
    std::memcpy(platform::lockBlock(block), file.data(), file.size());
    Loaded loaded;
    loaded.result = list.readBmpMemory(block, file.size());
    platform::freeBlock(block);
    if (!loaded.result) return loaded;
    loaded.header.assign(reinterpret_cast<const char*>(platform::lockBlock(list.loadedHeader)),
                         platform::blockSize(list.loadedHeader));
    loaded.bits.assign(reinterpret_cast<const char*>(platform::lockBlock(list.loadedBits)),
                       platform::blockSize(list.loadedBits));
    EXPECT_TRUE(platform::readPlainDibLayout(platform::lockBlock(list.loadedHeader),
                                             platform::blockSize(list.loadedHeader),
                                             platform::blockSize(list.loadedBits)));
    platform::freeBlock(list.loadedHeader);
    platform::freeBlock(list.loadedBits);
    return loaded;
}

int field(const std::string& header, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, header.data() + at, 4);
    return v;
}

} // namespace

TEST(PlainDib, TrueColourFormsBecomeTwentyFourBitRowsFromTheBottom) {
    const BmpParts forms[] = {
        // 32 bits, the fourth byte ignored
        {40, 3, 2, 32, 0, 0, {}, "", rowsOf(bgrx, false)},
        // 32 bits with bit fields after a 40-byte header, top-down
        {40, 3, -2, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF}, "", rowsOf(bgrx, true)},
        // V4 header holding its masks
        {108, 3, 2, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF}, "", rowsOf(bgrx, false)},
        // 5-6-5 bit fields in a V5 header, top-down
        {124, 3, -2, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, "", rowsOf(rgb565, true)},
        // 24 bits top-down in a V3 header
        {56, 3, -2, 24, 0, 0, {}, "", rowsOf(bgr, true)},
    };
    int n = 0;
    for (const BmpParts& form : forms) {
        Loaded loaded = readBmp(makeBmpFile(form));
        ASSERT_EQ(loaded.result, 1) << n;
        EXPECT_EQ(loaded.header.size(), 40u) << n;
        EXPECT_EQ(field(loaded.header, 0), 40) << n;
        EXPECT_EQ(field(loaded.header, 8), 2) << n;
        EXPECT_EQ(loaded.header[14], 24) << n;
        EXPECT_EQ(field(loaded.header, 16), 0) << n;
        EXPECT_EQ(loaded.bits, plainRows()) << n;
        ++n;
    }
}

TEST(PlainDib, PaletteFormsKeepTheirDepthAndPalette) {
    std::string palette;
    for (int i = 0; i < 16; ++i) palette += bytes({i, 2 * i, 3 * i, 0});

    // RLE8, 4 x 3: a run, literal pixels with their padding byte and a run,
    // a move right, a run cut at the row's end, the end mark.
    BmpParts rle8{40, 4, 3, 8, 1, 16, {}, palette,
                  bytes({4, 1, 0, 0, 0, 3, 2, 3, 4, 0, 1, 5, 0, 0, 0, 2, 1, 0, 9, 6, 0, 1})};
    Loaded loaded = readBmp(makeBmpFile(rle8));
    ASSERT_EQ(loaded.result, 1);
    EXPECT_EQ(loaded.header, loaded.header.substr(0, 40) + palette);
    EXPECT_EQ(loaded.header[14], 8);
    EXPECT_EQ(loaded.bits, bytes({1, 1, 1, 1, 2, 3, 4, 5, 0, 6, 6, 6}));

    // RLE4, 4 x 2: a run of alternating nibbles, then three literal nibbles
    // and a run of one.
    BmpParts rle4{40, 4, 2, 4, 2, 16, {}, palette,
                  bytes({4, 0x12, 0, 0, 0, 3, 0x34, 0x50, 1, 0x67, 0, 1})};
    loaded = readBmp(makeBmpFile(rle4));
    ASSERT_EQ(loaded.result, 1);
    EXPECT_EQ(loaded.header[14], 4);
    EXPECT_EQ(loaded.bits, bytes({0x12, 0x12, 0, 0, 0x34, 0x56, 0, 0}));

    // 8 bits top-down in a V4 header: the rows turn over, the palette stays.
    BmpParts topDown{108, 2, -2, 8, 0, 16, {}, palette, bytes({1, 2, 0, 0, 3, 4, 0, 0})};
    loaded = readBmp(makeBmpFile(topDown));
    ASSERT_EQ(loaded.result, 1);
    EXPECT_EQ(loaded.header, loaded.header.substr(0, 40) + palette);
    EXPECT_EQ(loaded.bits, bytes({3, 4, 0, 0, 1, 2, 0, 0}));

    // 5-5-5 bit fields are the picture buffer's own 16-bit form.
    BmpParts fields555{40, 1, 1, 16, 3, 0, {0x7C00, 0x03E0, 0x001F}, "", bytes({0x34, 0x12, 0, 0})};
    loaded = readBmp(makeBmpFile(fields555));
    ASSERT_EQ(loaded.result, 1);
    EXPECT_EQ(loaded.header[14], 16);
    EXPECT_EQ(loaded.bits, bytes({0x34, 0x12, 0, 0}));
}

TEST(PlainDib, WhatCannotBeConvertedSoundlyIsRefused) {
    std::string palette(16 * 4, '\0');
    const std::string pixels(16, '\0');
    std::vector<std::string> files = {
        // Sizes: absurd in 70 bytes, over the pixel cap, none, INT_MIN rows.
        makeBmpFile({40, 0x7FFFFFFF, 0x7FFFFFFF, 24, 0, 0, {}, "", pixels}),
        makeBmpFile({40, 20000, 20000, 8, 0, 0, {}, std::string(1024, '\0'), pixels}),
        makeBmpFile({40, 0, 2, 24, 0, 0, {}, "", pixels}),
        makeBmpFile({40, 2, INT32_MIN, 24, 0, 0, {}, "", pixels}),
        // Palettes: 2^31 entries, none where 16 belong.
        makeBmpFile({40, 2, 2, 4, 0, 0x80000000u, {}, palette, pixels}),
        makeBmpFile({40, 2, 2, 4, 0, 0, {}, "", pixels}),
        // Rows: fewer than the header says; RLE that stops halfway, or top-down.
        makeBmpFile({40, 3, 2, 24, 0, 0, {}, "", std::string(20, '\0')}),
        makeBmpFile({40, 4, 3, 8, 1, 16, {}, palette, bytes({4, 1, 0, 0, 0, 3, 2})}),
        makeBmpFile({40, 4, -3, 8, 1, 16, {}, palette, bytes({4, 1, 0, 1})}),
        // Forms: an unknown depth, embedded JPEG, masks that are no runs or
        // wider than the pixel.
        makeBmpFile({40, 2, 2, 3, 0, 0, {}, "", pixels}),
        makeBmpFile({40, 2, 2, 24, 4, 0, {}, "", pixels}),
        makeBmpFile({40, 2, 2, 32, 3, 0, {0xF0F000, 0xFF00, 0xFF}, "", pixels}),
        makeBmpFile({40, 2, 2, 16, 3, 0, {0x1F0000, 0xFF00, 0xFF}, "", pixels}),
    };
    // A header that claims to be longer than anything.
    files.push_back(makeBmpFile({40, 2, 2, 24, 0, 0, {}, "", pixels}));
    patch32(files.back(), 14, 0xFFFFFFF0u);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(readBmp(files[i]).result, 0) << i;
}

TEST(PlainDib, MakePlainKeepsAPlainPairAndConvertsOrFreesAnother) {
    auto pairOf = [](const std::string& file, platform::MemoryHandle* header,
                     platform::MemoryHandle* bits) {
        const std::size_t offset = static_cast<unsigned char>(file[10]);
        *header = platform::allocateBlock(offset - 14);
        *bits = platform::allocateBlock(file.size() - offset);
        std::memcpy(platform::lockBlock(*header), file.data() + 14, offset - 14);
        std::memcpy(platform::lockBlock(*bits), file.data() + offset, file.size() - offset);
    };
    platform::MemoryHandle header, bits;
    pairOf(makeBmpFile({40, 3, 2, 24, 0, 0, {}, "", plainRows()}), &header, &bits);
    const platform::MemoryHandle plainHeader = header, plainBits = bits;
    ASSERT_EQ(makePlain(&header, &bits), 1);
    EXPECT_EQ(header, plainHeader);
    EXPECT_EQ(bits, plainBits);
    platform::freeBlock(header);
    platform::freeBlock(bits);

    pairOf(makeBmpFile({40, 3, -2, 32, 0, 0, {}, "", rowsOf(bgrx, true)}), &header, &bits);
    ASSERT_EQ(makePlain(&header, &bits), 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(platform::lockBlock(bits)),
                          platform::blockSize(bits)),
              plainRows());
    platform::freeBlock(header);
    platform::freeBlock(bits);

    pairOf(makeBmpFile({40, 2, 2, 24, 4, 0, {}, "", std::string(16, '\0')}), &header, &bits);
    EXPECT_EQ(makePlain(&header, &bits), 0);
    EXPECT_EQ(header, nullptr);
    EXPECT_EQ(bits, nullptr);
}
