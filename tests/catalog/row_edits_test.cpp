#include "catalog/row_edits.h"

#include <gtest/gtest.h>

namespace {

CatalogList rows(int count) {
    CatalogList list;
    resetCatalog(list);
    for (int i = 0; i < count; ++i) appendRow(list, i % 3, {std::to_string(i), "/" + std::to_string(i)});
    return list;
}

std::vector<int> serials(const CatalogList& list) {
    std::vector<int> out;
    for (const CatalogRow& row : list.rows) out.push_back(row.serial);
    return out;
}

} // namespace

TEST(RowEdits, UpLeavesTheBlockAtTheTopAndMovesTheOthersOnePlace) {
    CatalogList list = rows(5);
    EXPECT_EQ(moveRowsUp(list, {0, 1, 3}), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(serials(list), (std::vector<int>{0, 1, 3, 2, 4}));
    EXPECT_EQ(list.rows[2].icon, 0); // row 3 moved with its icon and cells
    EXPECT_EQ(list.rows[2].cells[1], "/3");
    EXPECT_EQ(moveRowsUp(list, {3, 4}), (std::vector<int>{2, 3}));
    EXPECT_EQ(serials(list), (std::vector<int>{0, 1, 2, 4, 3}));
}

TEST(RowEdits, DownLeavesTheBlockAtTheBottomAndNeedsTwoRows) {
    CatalogList list = rows(5);
    EXPECT_EQ(moveRowsDown(list, {0, 1, 4}), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(serials(list), (std::vector<int>{2, 0, 1, 3, 4}));
    EXPECT_TRUE(list.modified);
    CatalogList one = rows(1);
    EXPECT_EQ(moveRowsDown(one, {0}), (std::vector<int>{0}));
    EXPECT_FALSE(one.modified);
    EXPECT_EQ(moveRowsUp(one, {0}), (std::vector<int>{0}));
    EXPECT_TRUE(one.modified);
}

TEST(RowEdits, DeleteRemovesExactlyTheSelectedRows) {
    CatalogList list = rows(5);
    deleteRows(list, {1, 3, 9});
    EXPECT_EQ(serials(list), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(list.rows[0].cells, (RowCells{"0", "/0"}));
    EXPECT_EQ(list.rows[1].cells, (RowCells{"2", "/2"}));
    EXPECT_TRUE(list.modified);
    list.modified = false;
    deleteRows(list, {});
    EXPECT_EQ(list.rows.size(), 3u);
    EXPECT_TRUE(list.modified);
}
