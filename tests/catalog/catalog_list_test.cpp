#include "catalog/catalog_list.h"

#include <gtest/gtest.h>

TEST(CatalogList, AResetShowsTitleAndLocation) {
    CatalogList list;
    list.sortDirection[1] = 2;
    resetCatalog(list);
    ASSERT_EQ(list.viewColumns.size(), 2u);
    EXPECT_EQ(list.viewColumns[0].name, "タイトル");
    EXPECT_EQ(list.viewColumns[0].width, 140);
    EXPECT_EQ(list.viewColumns[1].name, "場所");
    EXPECT_EQ(list.viewColumns[1].width, 150);
    EXPECT_EQ(visibleOrder(list), (std::vector<int>{kColumnTitle, kColumnLocation}));
    EXPECT_EQ(list.columns[kColumnUser1].defaultName, "ユーザー定義１");
    EXPECT_EQ(list.columns[kColumnCdName].defaultName, "ＣＤ名");
    EXPECT_EQ(list.columns[kColumnUseCount].kind, ColumnKind::Counter);
    EXPECT_EQ(list.columns[kColumnUpdated].kind, ColumnKind::Date);
    EXPECT_EQ(list.columns[kColumnAvgX].defaultWidth, 40);
    EXPECT_EQ(list.currentRow, -1);
    EXPECT_EQ(list.sortDirection[1], 2); // kept for the life of the process
    int visible = 0;
    for (const CatalogColumn& column : list.columns) visible += column.displayPosition >= 0;
    EXPECT_EQ(visible, 2);
}

TEST(CatalogList, RowsTakeSerialsAndExactlyVCells) {
    CatalogList list;
    resetCatalog(list);
    appendRow(list, kIconArchive, {"a", "/x/a.zip", "dropped"});
    appendRow(list, kIconFolder, {"b"});
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].serial, 0);
    EXPECT_EQ(list.rows[1].serial, 1);
    EXPECT_EQ(list.nextSerial, 2);
    EXPECT_EQ(list.rows[0].cells, (RowCells{"a", "/x/a.zip"}));
    EXPECT_EQ(list.rows[1].cells, (RowCells{"b", ""}));
    EXPECT_EQ(list.rows[0].icon, kIconArchive);
    EXPECT_FALSE(list.modified);
}

TEST(CatalogList, ViewColumnsAfterTheTitleGoInFrontOfOthers) {
    CatalogList list;
    resetCatalog(list);
    list.columns[kColumnLocation].displayPosition = 2;
    list.columns[kColumnAuthor].displayPosition = 1;
    list.columns[kColumnAuthor].displayName = "作者";
    list.visibleCount = 3;
    list.viewColumns = {{"タイトル", 200}, {"old", 10}};
    buildViewColumnsAfterTitle(list);
    ASSERT_EQ(list.viewColumns.size(), 4u);
    EXPECT_EQ(list.viewColumns[0].width, 200);
    EXPECT_EQ(list.viewColumns[1].name, "作者");
    EXPECT_EQ(list.viewColumns[1].width, 70);
    EXPECT_EQ(list.viewColumns[2].name, "場所");
    EXPECT_EQ(list.viewColumns[3].name, "old");
}
