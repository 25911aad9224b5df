#include "catalog/add_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/catalog_columns.h"
#include "sources/page_list.h"
#include "support/temp_folder.h"

using catalog_test::showColumns;
using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

// A page list whose test archive plug-in takes "*.tarc".
struct ArchivePlugins : TempFolder {
    ArchivePlugins() {
        std::filesystem::copy_file(VOXA_TEST_PLUGIN_DIR "/tp_archive.spi",
                                   *this / "tp_archive.spi");
    }
};

std::string cell(const CatalogList& list, std::size_t row, int id) {
    return std::string(list.rows[row].cells[std::size_t(columnPosition(list, id))]);
}

} // namespace

TEST(AddPath, FoldersFilesArchivesAndPathsNotThere) {
    ArchivePlugins plugins;
    PageList pages(plugins.path());
    TempFolder shelf;
    testing_support::makeFolder(shelf / "book");
    writeFile(shelf / "page.JPG", "not a picture");
    writeFile(shelf / "novel.tarc", std::string(1234, 'z'));
    CatalogList list;
    resetCatalog(list);
    showColumns(list, {kColumnTitle, kColumnLocation, kColumnTotalFiles, kColumnJpegCount,
                       kColumnTotalSize, kColumnAverageSize, kColumnMedianSize});
    list.nextSerial = 5;
    addPath(list, pages, shelf / "book/");
    addPath(list, pages, shelf / "page.JPG");
    addPath(list, pages, shelf / "novel.tarc");
    addPath(list, pages, shelf / "gone/volume 2/");
    addPath(list, pages, shelf / "book/");
    ASSERT_EQ(list.rows.size(), 5u);
    EXPECT_TRUE(list.modified);
    const std::pair<int, std::string> expected[] = {{kIconFolder, "book"},
                                                    {kIconFile, "page.JPG"},
                                                    {kIconArchive, "novel.tarc"},
                                                    {kIconFolder, "volume 2"},
                                                    {kIconFolder, "book"}};
    for (std::size_t row = 0; row < 5; ++row) {
        EXPECT_EQ(list.rows[row].icon, expected[row].first) << row;
        EXPECT_EQ(list.rows[row].serial, int(5 + row));
        EXPECT_EQ(cell(list, row, kColumnTitle), expected[row].second);
    }
    // The location is the path as given; the same path twice is two rows.
    EXPECT_EQ(cell(list, 0, kColumnLocation), shelf / "book/");
    EXPECT_EQ(cell(list, 4, kColumnLocation), shelf / "book/");
    // An archive is a file of its own size and no JPEG.
    EXPECT_EQ(cell(list, 2, kColumnTotalFiles), "1");
    EXPECT_EQ(cell(list, 2, kColumnJpegCount), "0");
    EXPECT_EQ(cell(list, 2, kColumnTotalSize), "1234");
    EXPECT_EQ(cell(list, 2, kColumnAverageSize), "1234");
    EXPECT_EQ(cell(list, 2, kColumnMedianSize), "1234");
    EXPECT_EQ(cell(list, 3, kColumnTotalFiles), "0");
}

TEST(AddPath, OnlyTheVisibleCellsAreWritten) {
    PageList pages("/nonexistent/");
    TempFolder shelf;
    writeFile(shelf / "a.jpg", "x");
    CatalogList list;
    resetCatalog(list);
    showColumns(list, {kColumnTitle, kColumnAuthor}); // a list file may hide the location
    addPath(list, pages, shelf.path());
    addPath(list, pages, "/");
    EXPECT_EQ(
        list.rows[0].cells,
        (RowCells{std::filesystem::path(shelf.path()).parent_path().filename().string(), ""}));
    EXPECT_EQ(list.rows[1].cells, (RowCells{"/", ""})); // the root is named by itself
}
