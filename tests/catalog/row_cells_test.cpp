#include "catalog/row_cells.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> texts(const RowCells& cells) {
    std::vector<std::string> out;
    for (std::string_view cell : cells) out.emplace_back(cell);
    return out;
}

} // namespace

TEST(RowCells, HoldsEachTextApartIncludingEmptyOnes) {
    RowCells cells(std::vector<std::string>{"漢字", "", "abc", ""});
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0], "漢字");
    EXPECT_EQ(cells[1], "");
    EXPECT_EQ(cells[2], "abc");
    EXPECT_EQ(cells[3], "");
    EXPECT_EQ(cells, (RowCells{"漢字", "", "abc", ""}));
    EXPECT_NE(cells, (RowCells{"漢字", "abc", "", ""})); // same bytes, other cells
}

TEST(RowCells, SettingACellMovesOnlyTheTextsAfterIt) {
    RowCells cells{"one", "two", "three"};
    cells.set(1, "a longer second");
    EXPECT_EQ(texts(cells), (std::vector<std::string>{"one", "a longer second", "three"}));
    cells.set(1, "");
    EXPECT_EQ(texts(cells), (std::vector<std::string>{"one", "", "three"}));
    cells.set(2, "3");
    cells.set(0, "first");
    EXPECT_EQ(texts(cells), (std::vector<std::string>{"first", "", "3"}));
    cells.set(1, cells[0]); // a text taken from the row itself
    EXPECT_EQ(texts(cells), (std::vector<std::string>{"first", "first", "3"}));
}

TEST(RowCells, ResizingDropsOrAddsEmptyCellsAndClearingKeepsNothing) {
    RowCells cells{"a", "bb", "ccc"};
    cells.resize(2);
    EXPECT_EQ(cells, (RowCells{"a", "bb"}));
    cells.resize(4);
    EXPECT_EQ(cells, (RowCells{"a", "bb", "", ""}));
    cells.set(3, "d");
    EXPECT_EQ(cells[3], "d");
    cells.resize(0);
    EXPECT_EQ(cells, RowCells());
    cells.push_back("x");
    cells.clear();
    EXPECT_EQ(cells, RowCells());
    cells.push_back("y");
    EXPECT_EQ(cells, (RowCells{"y"}));
}
