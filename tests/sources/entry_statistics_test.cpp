#include "sources/entry_statistics.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "support/jpeg_bytes.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

using testing_support::jpegBytes;
using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

// A JPEG of exactly `size` bytes (padding in the entropy data).
std::string jpegOfSize(std::size_t size, int width = 10, int height = 10) {
    std::string base = jpegBytes(width, height, 0);
    return jpegBytes(width, height, size - base.size());
}

} // namespace

TEST(EntryStatistics, FolderScanSumsAveragesAndUpperMedians) {
    TempFolder folder;
    writeFile(folder / "a.jpg", jpegOfSize(100, 10, 5));
    writeFile(folder / "b.JPEG", jpegOfSize(300, 40, 7));
    writeFile(folder / "c.jpg", jpegOfSize(200, 20, 9));
    writeFile(folder / "d.jpg", jpegOfSize(250, 30, 11));
    writeFile(folder / "readme.txt", "hello");
    testing_support::makeFolder(folder / "inner.jpg");
    writeFile(folder / "inner.jpg/deep.jpg", jpegOfSize(999));

    EntryStatistics record;
    collectStatistics(folder.path(), kFullStatistics, record);
    EXPECT_EQ(record.totalFiles, 5);
    EXPECT_EQ(record.jpegCount, 4);
    EXPECT_EQ(record.jpegErrors, 0);
    EXPECT_EQ(record.totalSize, 850u);
    EXPECT_EQ(record.averageSize, 212u);
    EXPECT_EQ(record.medianSize, 250u);
    EXPECT_EQ(record.avgX, 25);
    EXPECT_EQ(record.midX, 30);
    EXPECT_EQ(record.avgY, 8);
    EXPECT_EQ(record.midY, 9);
    EXPECT_FALSE(record.updated.empty());
    EXPECT_TRUE(record.cdName.empty());
}

TEST(EntryStatistics, BrokenAndFalseJpegsInAFolderAreErrorsThatStillCount) {
    TempFolder folder;
    std::string truncated = jpegOfSize(300, 64, 32);
    writeFile(folder / "cut.jpg", truncated.substr(0, 200));
    writeFile(folder / "text.jpg", "just some text");
    writeFile(folder / "real.png", jpegOfSize(100)); // a JPEG under another name: not counted
    EntryStatistics record;
    collectStatistics(folder.path(), kFullStatistics, record);
    EXPECT_EQ(record.totalFiles, 3);
    EXPECT_EQ(record.jpegCount, 2);
    EXPECT_EQ(record.jpegErrors, 2);
    EXPECT_EQ(record.totalSize, 214u);
    EXPECT_EQ(record.midX, 64); // the truncated one still had its frame header
}

TEST(EntryStatistics, SingleFilesAreJudgedByContent) {
    TempFolder folder;
    writeFile(folder / "book.zip", std::string(1234, 'z'));
    writeFile(folder / "photo.dat", jpegOfSize(500, 33, 44));
    EntryStatistics record;
    collectStatistics(folder / "book.zip", kFullStatistics, record);
    EXPECT_EQ(record.totalFiles, 1);
    EXPECT_EQ(record.totalSize, 1234u);
    EXPECT_EQ(record.averageSize, 1234u);
    EXPECT_EQ(record.medianSize, 1234u);
    EXPECT_EQ(record.jpegCount, 0);

    collectStatistics(folder / "photo.dat", kFileCount, record);
    EXPECT_EQ(record.jpegCount, 1);
    EXPECT_EQ(record.jpegErrors, 0);
    EXPECT_EQ(record.avgX, 33);
    EXPECT_EQ(record.midY, 44);
}

TEST(EntryStatistics, DepthsAndMissingPaths) {
    TempFolder folder;
    writeFile(folder / "a.jpg", jpegOfSize(100));
    writeFile(folder / "b.txt", "x");
    EntryStatistics record;
    collectStatistics(folder.path(), kFileCount, record);
    EXPECT_EQ(record.totalFiles, 2);
    EXPECT_EQ(record.jpegCount, 0);
    collectStatistics(folder.path(), kDatesOnly, record);
    EXPECT_EQ(record.totalFiles, 0);
    EXPECT_FALSE(record.added.empty());

    collectStatistics(folder / "missing", kFullStatistics, record);
    EXPECT_EQ(record.path, folder / "missing");
    EXPECT_TRUE(record.updated.empty());
    EXPECT_TRUE(record.added.empty());
}

TEST(EntryStatistics, DateTextPrintsTheFullYear) {
    std::tm local{};
    local.tm_year = 2003 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 1;
    local.tm_hour = 9;
    local.tm_min = 7;
    local.tm_isdst = -1;
    EXPECT_EQ(dateText(std::mktime(&local)), "2003/05/01 09:07");
}

TEST(EntryStatistics, OddAndEvenCountsTakeTheMiddleOrTheUpperMiddle) {
    TempFolder folder;
    writeFile(folder / "a.jpg", jpegOfSize(100, 10, 3));
    writeFile(folder / "b.jpg", jpegOfSize(300, 11, 4));
    writeFile(folder / "c.jpg", jpegOfSize(200, 12, 4));
    EntryStatistics record;
    collectStatistics(folder.path(), kFullStatistics, record);
    EXPECT_EQ(record.totalSize, 600u);
    EXPECT_EQ(record.averageSize, 200u);
    EXPECT_EQ(record.medianSize, 200u);
    EXPECT_EQ(record.avgY, 3); // 11 / 3, truncated
    writeFile(folder / "d.jpg", jpegOfSize(1000));
    collectStatistics(folder.path(), kFullStatistics, record);
    EXPECT_EQ(record.totalSize, 1600u);
    EXPECT_EQ(record.averageSize, 400u);
    EXPECT_EQ(record.medianSize, 300u);
}

// Scans of a book pass 4 GiB: sizes and their sums keep every bit. The files
// are sparse, and only their headers and ends are read.
TEST(EntryStatistics, SizesPastFourGibibytesKeepTheirValue) {
    TempFolder folder;
    const std::uint64_t big = 3ull << 30;
    for (const char* name : {"a.jpg", "b.jpg"}) {
        const std::string head = jpegBytes(2480, 3508, 0);
        writeFile(folder / name, head.substr(0, head.size() - 2));
        ASSERT_EQ(::truncate((folder / name).c_str(), off_t(big)), 0);
        std::FILE* file = std::fopen((folder / name).c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        std::fseek(file, long(big - 2), SEEK_SET);
        std::fwrite("\xFF\xD9", 1, 2, file);
        std::fclose(file);
    }
    EntryStatistics record;
    collectStatistics(folder.path(), kFullStatistics, record);
    EXPECT_EQ(record.jpegErrors, 0);
    EXPECT_EQ(record.totalSize, 2 * big);
    EXPECT_EQ(record.averageSize, big);
    EXPECT_EQ(record.medianSize, big);
    EXPECT_EQ(record.midX, 2480);
    collectStatistics(folder / "a.jpg", kFileCount, record);
    EXPECT_EQ(record.totalSize, big);
    EXPECT_EQ(record.jpegErrors, 0);
}

TEST(EntryStatistics, AFolderOfMoreThanTenThousandJpegsCountsThemAll) {
    TempFolder folder;
    const std::string small = jpegBytes(10, 20, 0);
    for (int i = 0; i < 10001; ++i)
        writeFile(folder / (std::to_string(i) + ".jpg"), small);
    writeFile(folder / "wide.jpg", jpegBytes(500, 20, 0));
    EntryStatistics record;
    collectStatistics(folder.path(), kFullStatistics, record);
    EXPECT_EQ(record.jpegCount, 10002);
    EXPECT_EQ(record.totalSize, 10002u * small.size());
    EXPECT_EQ(record.midX, 10);
    EXPECT_EQ(record.avgX, (10001 * 10 + 500) / 10002);
}

TEST(EntryStatistics, AJpegThatCannotBeReadIsBrokenWithItsListedSize) {
    TempFolder folder;
    writeFile(folder / "locked.jpg", jpegOfSize(300, 40, 40));
    writeFile(folder / "open.jpg", jpegOfSize(100, 20, 20));
    ASSERT_EQ(::chmod((folder / "locked.jpg").c_str(), 0), 0);
    testing_support::runUnprivileged(folder.path(), [&] {
        EntryStatistics record;
        collectStatistics(folder.path(), kFullStatistics, record);
        EXPECT_EQ(record.jpegCount, 2);
        EXPECT_EQ(record.jpegErrors, 1);
        EXPECT_EQ(record.totalSize, 400u);
        EXPECT_EQ(record.midX, 20); // widths 0 and 20
        collectStatistics(folder / "locked.jpg", kFullStatistics, record);
        EXPECT_EQ(record.totalSize, 300u);
        EXPECT_EQ(record.jpegCount, 0);
    });
}
