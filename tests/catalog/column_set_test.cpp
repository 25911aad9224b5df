#include "catalog/column_set.h"

#include <gtest/gtest.h>

namespace {

CatalogList twoRows() {
    CatalogList list;
    resetCatalog(list);
    setVisibleColumns(list, {kColumnTitle, kColumnLocation, kColumnAuthor, kColumnRemarks});
    list.rows.clear();
    appendRow(list, kIconFolder, {"t0", "/0", "a0", "r0"});
    appendRow(list, kIconFolder, {"t1", "/1", "", "r1"});
    return list;
}

std::vector<std::string> namesOf(const CatalogList& list) {
    std::vector<std::string> names;
    for (const ViewColumn& column : list.viewColumns)
        names.push_back(column.name);
    return names;
}

} // namespace

TEST(ColumnSet, CellsMoveWithTheirColumnsAndWidthsReturnToTheDefaults) {
    CatalogList list = twoRows();
    list.viewColumns[0].width = 99;
    list.viewColumns[1].width = 33;
    list.columns[kColumnRemarks].displayName = "メモ";
    setVisibleColumns(list,
                      {kColumnTitle, kColumnRemarks, kColumnLocation, kColumnAuthor, kColumnUser1});
    EXPECT_EQ(visibleOrder(list), (std::vector<int>{kColumnTitle, kColumnRemarks, kColumnLocation,
                                                    kColumnAuthor, kColumnUser1}));
    EXPECT_EQ(list.rows[0].cells, (RowCells{"t0", "r0", "/0", "a0", ""}));
    EXPECT_EQ(list.rows[1].cells, (RowCells{"t1", "r1", "/1", "", ""}));
    EXPECT_EQ(namesOf(list),
              (std::vector<std::string>{"タイトル", "メモ", "場所", "制作者", "ユーザー定義１"}));
    EXPECT_EQ(list.viewColumns[0].width, 99); // the title keeps its width
    EXPECT_EQ(list.viewColumns[2].width, 150);
    EXPECT_EQ(list.columns[kColumnRemarks].displayName, "メモ");
    EXPECT_FALSE(list.modified);
}

TEST(ColumnSet, AHiddenColumnGetsItsCellsBackUntilTheListIsSaved) {
    CatalogList list = twoRows();
    setVisibleColumns(list, {kColumnTitle, kColumnLocation, kColumnRemarks});
    EXPECT_EQ(list.rows[0].cells, (RowCells{"t0", "/0", "r0"}));
    appendRow(list, kIconFolder, {"t2", "/2", "r2"}); // made while Author was hidden
    setVisibleColumns(list, {kColumnTitle, kColumnAuthor, kColumnLocation});
    EXPECT_EQ(list.rows[0].cells, (RowCells{"t0", "a0", "/0"}));
    EXPECT_EQ(list.rows[1].cells, (RowCells{"t1", "", "/1"}));
    EXPECT_EQ(list.rows[2].cells, (RowCells{"t2", "", "/2"}));
    // Remarks went aside in its turn; after a save it is gone for good.
    dropHiddenCells(list);
    setVisibleColumns(list, {kColumnTitle, kColumnAuthor, kColumnLocation, kColumnRemarks});
    EXPECT_EQ(list.rows[0].cells, (RowCells{"t0", "a0", "/0", ""}));
    EXPECT_EQ(list.rows[2].cells, (RowCells{"t2", "", "/2", ""}));
}
