// The picture information texts, byte for byte: pictures, shown sizes and
// files in folders and archives, found and gone.
#include "picture/picture_info.h"

#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include "picture_fixture.h"
#include "support/bmp_writer.h"
#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

// A 24-bit picture whose pixels are the given blue-green-red triples, row
// by row from the bottom; the row padding is filled with `padding`.
void loadPixels(PictureBuffer& picture, int width, int height,
                const std::vector<std::uint32_t>& colours, char padding = '\0') {
    testing_support::Dib dib = testing_support::makeDib(width, height, 24);
    const std::size_t stride = static_cast<std::size_t>(rowBytes(width, 24));
    dib.bits.assign(stride * height, padding);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = colours[static_cast<std::size_t>(y * width + x)];
            char* pixel = &dib.bits[y * stride + 3 * x];
            pixel[0] = static_cast<char>(rgb & 0xff);
            pixel[1] = static_cast<char>((rgb >> 8) & 0xff);
            pixel[2] = static_cast<char>(rgb >> 16);
        }
    const BlockPair blocks = blocksOf(dib.header, dib.bits);
    picture.attach(blocks.header, blocks.bits);
}

// Gives `path` the modification time 2003-05-06 09:07:30 local time.
void setDate(const std::string& path) {
    std::tm local{};
    local.tm_year = 2003 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 6;
    local.tm_hour = 9;
    local.tm_min = 7;
    local.tm_sec = 30;
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    utimbuf times{when, when};
    ASSERT_EQ(utime(path.c_str(), &times), 0);
}

} // namespace

TEST(PictureInfo, TwentyFourBitPicturesTellTheirColoursOthersOnlyTheirSize) {
    PictureBuffer single;
    loadPixels(single, 3, 2, std::vector<std::uint32_t>(6, 0x123456), '\x7f');
    EXPECT_EQ(pictureInfoText(single),
              "・画像情報\r\n\t3 x 2 24 bit\r\n・現在使われてる色数 \r\n\t1\r\n");
    PictureBuffer eight;
    const BlockPair blocks = blocksOf(testing_support::makeDib(640, 480, 8).header,
                                      testing_support::makeDib(640, 480, 8).bits);
    eight.attach(blocks.header, blocks.bits);
    EXPECT_EQ(pictureInfoText(eight), "・画像情報\r\n\t640 x 480 8 bit\r\n");
    EXPECT_EQ(countColours(eight), 0);
    EXPECT_EQ(shownSizeText(1024, 768), "・現在のサイズ\r\n\t1024 x 768\r\n");
}

TEST(PictureInfo, ColoursAreCountedOnceEachAcrossTheWholeRangeNotThePadding) {
    std::vector<std::uint32_t> greys;
    for (std::uint32_t level = 0; level < 256; ++level)
        greys.push_back(level * 0x010101);
    PictureBuffer grey;
    loadPixels(grey, 16, 16, greys, '\x55');
    EXPECT_EQ(countColours(grey), 256);
    // The two ends of the key range, colours that differ only in red or only
    // in blue, and repeats; the padding bytes of the odd width are no pixels.
    PictureBuffer mixed;
    loadPixels(mixed, 3, 3,
               {0x000000, 0xffffff, 0x000001, 0x010000, 0x000001, 0xffffff, 0x00ff00, 0xff0000,
                0x0000ff},
               '\x33');
    EXPECT_EQ(countColours(mixed), 7);
}

TEST(FileInfo, AFolderFileWithItsSizeAndDateOrTheRowThatSaysItIsGone) {
    TempFolder temp;
    PageList pages(temp.path());
    testing_support::writeFile(temp / "book/01.bmp", std::string(1234, 'x'));
    setDate(temp / "book/01.bmp");
    pages.folder = temp / "book/";
    pages.entries = {"01.bmp", "02.bmp"};
    EXPECT_EQ(fileInfoText(pages, 0), "・ファイル名\r\n\t01.bmp\r\n・場所\r\n\t" + pages.folder +
                                          "\r\n・ファイルサイズ\r\n\t1234 byte\r\n"
                                          "・更新日時\r\n\t2003/05/06 09:07\r\n");
    EXPECT_EQ(fileInfoText(pages, 1), "・ファイル名\r\n\t02.bmp\r\n・場所\r\n\t" + pages.folder +
                                          "\r\nファイル情報取得失敗\r\n");
    // No entry at all (a list emptied meanwhile) is a file that is not there.
    EXPECT_EQ(fileInfoText(pages, 7),
              "・ファイル名\r\n\t\r\n・場所\r\n\t" + pages.folder + "\r\nファイル情報取得失敗\r\n");
}

TEST(FileInfo, AnArchiveMemberWithTheArchivesSizeAndDateAndItsListedSize) {
    TempFolder temp;
    PageList pages(temp.path());
    pages.archiveMode = 1;
    pages.archivePath = temp / "本.zip";
    pages.entries = {"p1.jpg"};
    pages.entrySize = {987654};
    EXPECT_EQ(fileInfoText(pages, 0), "＊書庫ファイル\r\n・ファイル名\r\n\t" + pages.archivePath +
                                          "\r\nファイル情報取得失敗\r\n");
    testing_support::writeFile(pages.archivePath, std::string(55, 'z'));
    setDate(pages.archivePath);
    EXPECT_EQ(fileInfoText(pages, 0), "＊書庫ファイル\r\n・ファイル名(A)\r\n\t" + pages.archivePath +
                                          "\r\n・ファイルサイズ(A)\r\n\t55 byte\r\n"
                                          "・更新日時(A)\r\n\t2003/05/06 09:07\r\n"
                                          "・ファイル名\r\n\tp1.jpg\r\n"
                                          "・ファイルサイズ\r\n\t987654 byte\r\n");
}

TEST(FileInfo, SizesArePrintedAsTheirLowThirtyTwoBitsSigned) {
    TempFolder temp;
    PageList pages(temp.path());
    pages.folder = temp.path();
    pages.entries = {"big.bmp"};
    // A sparse file of 2^31 + 3 bytes.
    const std::string path = temp / "big.bmp";
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, (off_t{1} << 31) + 3), 0);
    close(fd);
    const std::string text = fileInfoText(pages, 0);
    EXPECT_NE(text.find("\t-2147483645 byte\r\n"), std::string::npos) << text;
}
