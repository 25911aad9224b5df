// The copy command's bytes: the packed DIB of pictures of each palette
// depth and of 24 bits, and the BMP file and picture the clipboard offers.
#include "picture/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "picture_fixture.h"
#include "platform/desktop.h"
#include "platform/ui_fixture.h"
#include "support/bmp_writer.h"

namespace {

void load(PictureBuffer& picture, const testing_support::Dib& dib) {
    const BlockPair blocks = blocksOf(dib.header, dib.bits);
    picture.attach(blocks.header, blocks.bits);
}

std::string bytesOf(const std::vector<unsigned char>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

class Clipboard : public ui_test::UiTest {};

TEST_F(Clipboard, ThePackedDibIsTheHeaderThePaletteAndTheRowsForEveryDepth) {
    const struct {
        int bits;
        std::size_t size; // 40 + palette + rows of 5 x 3 pixels
    } depths[] = {{1, 40 + 8 + 3 * 4}, {4, 40 + 64 + 3 * 4}, {8, 40 + 1024 + 3 * 8},
                  {24, 40 + 3 * 16}};
    for (const auto& [bits, size] : depths) {
        const testing_support::Dib dib = testing_support::makeDib(5, 3, bits, 11);
        PictureBuffer picture;
        load(picture, dib);
        const std::vector<unsigned char> packed = packedDib(picture);
        EXPECT_EQ(packed.size(), size) << bits;
        EXPECT_EQ(bytesOf(packed), dib.header + dib.bits) << bits;
        ASSERT_EQ(copyToClipboard(picture), 1);
        // Other programs find a BMP file: the 14-byte file header before it.
        EXPECT_EQ(platform::clipboardBmp(), testing_support::makeBmp(5, 3, bits, 11)) << bits;
        EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(5, 3)) << bits;
    }
}

TEST_F(Clipboard, AShortPaletteIsCopiedAsTheHeaderCountsIt) {
    testing_support::Dib dib = testing_support::makeDib(4, 2, 8, 3);
    dib.header.resize(40 + 16 * 4); // 16 entries, named by biClrUsed
    dib.header[32] = 16;
    for (char& index : dib.bits)
        index = static_cast<char>(static_cast<unsigned char>(index) % 16);
    PictureBuffer picture;
    load(picture, dib);
    EXPECT_EQ(bytesOf(packedDib(picture)), dib.header + dib.bits);
    ASSERT_EQ(copyToClipboard(picture), 1);
    const std::string bmp = platform::clipboardBmp();
    ASSERT_EQ(bmp.size(), 14 + 40 + 64 + 8u);
    EXPECT_EQ(static_cast<unsigned char>(bmp[10]), 14 + 40 + 64); // where the rows start
}

TEST_F(Clipboard, APictureTheOperationsCannotReadLeavesTheClipboardAlone) {
    testing_support::Dib dib = testing_support::makeDib(4, 2, 24, 5);
    PictureBuffer good;
    load(good, dib);
    ASSERT_EQ(copyToClipboard(good), 1);
    dib.bits.resize(dib.bits.size() - 1); // a row short
    PictureBuffer broken;
    load(broken, dib);
    EXPECT_TRUE(packedDib(broken).empty());
    EXPECT_EQ(copyToClipboard(broken), 0);
    EXPECT_EQ(platform::clipboardBmp(), testing_support::makeBmp(4, 2, 24, 5));
    PictureBuffer empty;
    EXPECT_EQ(copyToClipboard(empty), 0);
}
