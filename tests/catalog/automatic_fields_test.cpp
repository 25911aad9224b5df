#include "catalog/automatic_fields.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

#include "catalog/catalog_columns.h"
#include "platform/file_system.h"
#include "sources/entry_statistics.h"
#include "support/jpeg_bytes.h"
#include "support/temp_folder.h"

using catalog_test::showColumns;
using testing_support::jpegBytes;
using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

// A list showing `columnIds` with one row whose cells read "keep".
CatalogList listShowing(const std::vector<int>& columnIds) {
    CatalogList list;
    resetCatalog(list);
    showColumns(list, columnIds);
    appendRow(list, kIconFolder, std::vector<std::string>(columnIds.size(), "keep"));
    return list;
}

std::string cell(const CatalogList& list, int id) {
    return std::string(list.rows[0].cells[std::size_t(columnPosition(list, id))]);
}

// A folder of one JPEG of 100 bytes, 10 x 20, and a text file.
struct Book : TempFolder {
    Book() {
        std::string jpeg = jpegBytes(10, 20, 0);
        writeFile(*this / "a.jpg", jpegBytes(10, 20, 100 - jpeg.size()));
        writeFile(*this / "b.txt", "text");
    }
};

} // namespace

TEST(AutomaticFields, WithoutAnAutomaticColumnNothingIsDone) {
    Book book;
    CatalogList list = listShowing({kColumnTitle, kColumnLocation, kColumnAuthor, kColumnUser1});
    EXPECT_FALSE(fillAutomaticFields(list, book.path(), 0));
    EXPECT_EQ(list.rows[0].cells, (RowCells{"keep", "keep", "keep", "keep"}));
}

TEST(AutomaticFields, EveryVisibleCellInItsFormatAndTheOthersLeftAlone) {
    Book book;
    CatalogList list =
        listShowing({kColumnTitle, kColumnMidY, kColumnAuthor, kColumnUpdated, kColumnAdded,
                     kColumnCdName, kColumnTotalFiles, kColumnJpegCount, kColumnJpegErrors,
                     kColumnTotalSize, kColumnAverageSize, kColumnMedianSize, kColumnAvgX,
                     kColumnAvgY, kColumnMidX, kColumnLocation});
    EXPECT_TRUE(fillAutomaticFields(list, book.path(), 0));
    EXPECT_EQ(cell(list, kColumnTitle), "keep");
    EXPECT_EQ(cell(list, kColumnLocation), "keep");
    EXPECT_EQ(cell(list, kColumnAuthor), "keep");
    EXPECT_EQ(cell(list, kColumnUpdated), dateText(*platform::lastWriteTime(book.path())));
    EXPECT_TRUE(
        std::regex_match(cell(list, kColumnAdded), std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d)")));
    EXPECT_EQ(cell(list, kColumnCdName), "");
    const std::pair<int, const char*> numbers[] = {
        {kColumnTotalFiles, "2"},  {kColumnJpegCount, "1"},     {kColumnJpegErrors, "0"},
        {kColumnTotalSize, "100"}, {kColumnAverageSize, "100"}, {kColumnMedianSize, "100"},
        {kColumnAvgX, "10"},       {kColumnAvgY, "20"},         {kColumnMidX, "10"},
        {kColumnMidY, "20"}};
    for (const auto& [id, text] : numbers)
        EXPECT_EQ(cell(list, id), text) << id;

    // A path that is not there: no dates, every number 0.
    EXPECT_TRUE(fillAutomaticFields(list, book / "gone", 0));
    EXPECT_EQ(cell(list, kColumnUpdated), "");
    EXPECT_EQ(cell(list, kColumnAdded), "");
    for (const auto& [id, text] : numbers)
        EXPECT_EQ(cell(list, id), "0") << id;
}

TEST(AutomaticFields, TheDeepestVisibleColumnDecidesHowMuchIsCollected) {
    Book book;
    // The dates with the file count: the files are counted.
    CatalogList list =
        listShowing({kColumnTitle, kColumnLocation, kColumnUpdated, kColumnTotalFiles});
    fillAutomaticFields(list, book.path(), 0);
    EXPECT_EQ(cell(list, kColumnTotalFiles), "2");
    EXPECT_NE(cell(list, kColumnUpdated), "");
    // A JPEG column with them: the JPEGs are measured.
    list = listShowing({kColumnTitle, kColumnUpdated, kColumnTotalFiles, kColumnMidX});
    fillAutomaticFields(list, book.path(), 0);
    EXPECT_EQ(cell(list, kColumnTotalFiles), "2");
    EXPECT_EQ(cell(list, kColumnMidX), "10");
}

// Folders of scans pass 2 GiB; their sizes are written unsigned, in full.
TEST(AutomaticFields, SizesPastTwoGibibytesAreWrittenInFull) {
    TempFolder folder;
    const std::string head = jpegBytes(2480, 3508, 0);
    writeFile(folder / "big.jpg", head.substr(0, head.size() - 2));
    const off_t size = off_t(3) << 30;
    ASSERT_EQ(::truncate((folder / "big.jpg").c_str(), size), 0);
    CatalogList list = listShowing({kColumnTitle, kColumnTotalSize, kColumnAverageSize});
    fillAutomaticFields(list, folder.path(), 0);
    EXPECT_EQ(cell(list, kColumnTotalSize), "3221225472");
    EXPECT_EQ(cell(list, kColumnAverageSize), "3221225472");
}
