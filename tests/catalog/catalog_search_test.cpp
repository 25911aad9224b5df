#include "catalog/catalog_search.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "platform/text_match.h"

namespace {

// Title, Total files (a number), Remarks.
CatalogList listOf(const std::vector<std::vector<std::string>>& rows) {
    CatalogList list;
    resetCatalog(list);
    list.columns[kColumnLocation].displayPosition = -1;
    list.columns[kColumnTotalFiles].displayPosition = 1;
    list.columns[kColumnRemarks].displayPosition = 2;
    list.visibleCount = 3;
    for (const auto& row : rows)
        appendRow(list, kIconFolder, row);
    return list;
}

SearchRequest request(const CatalogList& list, SearchScope scope, std::string search,
                      int chosen = 0) {
    return {scopePositions(list, scope, chosen), std::move(search), platform::kMatchIgnoreCase};
}

} // namespace

TEST(CatalogSearch, ScopesPickTheirColumnsAndRowsAreFoundEitherWay) {
    CatalogList list = listOf({{"12", "12", ""}, {"x", "12", "a12"}, {"12", "7", ""}});
    EXPECT_EQ(scopePositions(list, SearchScope::AllColumns, 0), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(scopePositions(list, SearchScope::TextColumns, 0), (std::vector<int>{0, 2}));
    EXPECT_EQ(scopePositions(list, SearchScope::OneColumn, 1), (std::vector<int>{1}));
    EXPECT_TRUE(scopePositions(list, SearchScope::OneColumn, 3).empty());

    SearchRequest all = request(list, SearchScope::AllColumns, "12");
    EXPECT_EQ(findRow(list, -1, true, all), 0);
    EXPECT_EQ(findRow(list, 0, true, all), 1);
    EXPECT_EQ(findRow(list, 2, true, all), -1); // no wrap-around
    EXPECT_EQ(findRow(list, 2, false, all), 1);
    EXPECT_EQ(findRow(list, -1, false, all), -1); // upward without a start looks at nothing
    SearchRequest numbers = request(list, SearchScope::OneColumn, "7", 1);
    EXPECT_EQ(findRow(list, -1, true, numbers), 2);
    // The title matches though a number column follows it.
    SearchRequest texts = request(list, SearchScope::TextColumns, "12");
    EXPECT_EQ(findRow(list, 0, true, texts), 1);
    EXPECT_EQ(findRow(list, 1, true, texts), 2);
}

TEST(CatalogSearch, ReplacingShiftsLaterWindowsAndCountsRows) {
    CatalogList list = listOf({{"abcb", "b", "B"}, {"none", "", ""}, {"", "", "xb"}});
    SearchRequest texts = request(list, SearchScope::TextColumns, "b");
    EXPECT_TRUE(replaceInRow(list, 0, texts, "xyz"));
    EXPECT_EQ(list.rows[0].cells,
              (RowCells{"axyzcxyz", "b", "xyz"})); // the number column is out of scope
    EXPECT_FALSE(replaceInRow(list, 1, texts, "xyz"));
    EXPECT_EQ(replaceInAllRows(list, request(list, SearchScope::AllColumns, "b"), "-"), 2);
    EXPECT_EQ(list.rows[0].cells, (RowCells{"axyzcxyz", "-", "xyz"}));
    EXPECT_EQ(list.rows[2].cells[2], "x-");
    // An empty search text replaces nothing.
    EXPECT_EQ(replaceInAllRows(list, request(list, SearchScope::AllColumns, ""), "q"), 0);
    EXPECT_FALSE(list.modified);
}

TEST(CatalogSearch, OnlyTheStoredStartOfALongCellIsSearchedAndReplaced) {
    // 259 two-byte characters and one more make 520 stored bytes.
    std::string head;
    for (int i = 0; i < 259; ++i)
        head += "あ";
    std::string cell = head + "い" + "tail";
    EXPECT_EQ(platform::cp932FittingPrefix(cell, kSearchTextLimit), head);
    EXPECT_EQ(platform::cp932FittingPrefix("short", kSearchTextLimit), "short");
    CatalogList list = listOf({{cell, "", ""}});
    SearchRequest tail = request(list, SearchScope::AllColumns, "tail");
    EXPECT_EQ(findRow(list, -1, true, tail), -1);
    EXPECT_FALSE(replaceInRow(list, 0, tail, "x"));
    EXPECT_TRUE(replaceInRow(list, 0, request(list, SearchScope::AllColumns, "あ"), "a"));
    EXPECT_EQ(list.rows[0].cells[0], std::string(259, 'a') + "い" + "tail");
}
