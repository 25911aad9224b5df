// Sorting by a column against a literal pairwise comparison of the cells.
#include "catalog/catalog_sort.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

#include "platform/text_compare.h"

namespace {

// The comparison as written: each pair of cells read afresh.
int referenceCompare(ColumnKind kind, const std::string& a, const std::string& b) {
    switch (kind) {
    case ColumnKind::Number: {
        long long x = std::strtoll(a.c_str(), nullptr, 10), y = std::strtoll(b.c_str(), nullptr, 10);
        return x < y ? -1 : x > y;
    }
    case ColumnKind::Date:
    case ColumnKind::Counter: {
        int x[5] = {}, y[5] = {};
        std::sscanf(a.c_str(), "%04d/%02d/%02d %02d:%02d", &x[0], &x[1], &x[2], &x[3], &x[4]);
        std::sscanf(b.c_str(), "%04d/%02d/%02d %02d:%02d", &y[0], &y[1], &y[2], &y[3], &y[4]);
        for (int i = 0; i < 5; ++i)
            if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
        return 0;
    }
    case ColumnKind::Text:
        break;
    }
    int order = platform::compareNoCase(a, b);
    return order < 0 ? -1 : order > 0;
}

CatalogList listOf(int columnId, const std::vector<std::string>& cells) {
    CatalogList list;
    resetCatalog(list);
    list.columns[std::size_t(columnId)].displayPosition = 2;
    list.visibleCount = 3;
    buildViewColumns(list);
    for (const std::string& cell : cells) appendRow(list, kIconFolder, {"", "", cell});
    return list;
}

std::string randomCell(std::mt19937& random, ColumnKind kind) {
    char text[64];
    switch (kind) {
    case ColumnKind::Number: {
        // Sizes of large folders pass the 32-bit range.
        long long value = random() % 4 ? (long long)(random() % 2000) - 100
                                       : (long long)(random() % 8) << 31 | (random() % 1000);
        std::snprintf(text, sizeof text, "%lld", value);
        return random() % 8 ? text : "";
    }
    case ColumnKind::Date:
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", 1990 + int(random() % 3),
                      int(random() % 3) + 1, int(random() % 3) + 1, int(random() % 24), int(random() % 2));
        return random() % 8 ? text : "";
    case ColumnKind::Counter:
        std::snprintf(text, sizeof text, "%d", int(random() % 300));
        return random() % 8 ? text : "";
    case ColumnKind::Text:
        break;
    }
    const char* words[] = {"abc", "ABD", "かな", "カナ", "漫画", "Zeta", "zeta", "", "10", "9"};
    return words[random() % 10];
}

} // namespace

TEST(SortByColumn, OrdersEachKindAsThePairwiseComparisonInBothDirections) {
    std::mt19937 random(7);
    const std::pair<int, ColumnKind> columns[] = {{kColumnAuthor, ColumnKind::Text},
                                                  {kColumnTotalFiles, ColumnKind::Number},
                                                  {kColumnUpdated, ColumnKind::Date},
                                                  {kColumnUseCount, ColumnKind::Counter}};
    for (auto [id, kind] : columns) {
        std::vector<std::string> cells;
        for (int i = 0; i < 300; ++i) cells.push_back(randomCell(random, kind));
        CatalogList list = listOf(id, cells);
        for (bool descending : {false, true}) {
            sortByColumn(list, 2);
            EXPECT_EQ(list.sortDirection[2], descending ? 2 : 1);
            std::vector<int> serials(cells.size());
            for (std::size_t i = 0; i < cells.size(); ++i) serials[i] = int(i);
            // Equal cells keep the order they had before this sort.
            std::vector<int> before;
            for (const CatalogRow& row : list.rows) before.push_back(row.serial);
            std::vector<int> expected = serials;
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                int order = referenceCompare(kind, cells[std::size_t(a)], cells[std::size_t(b)]);
                return descending ? order > 0 : order < 0;
            });
            std::vector<int> got;
            for (const CatalogRow& row : list.rows) got.push_back(row.serial);
            // Compare the orders of the cells (ties may differ by earlier sorts).
            std::vector<std::string> wantCells, gotCells;
            for (int serial : expected) wantCells.push_back(cells[std::size_t(serial)]);
            for (int serial : got) gotCells.push_back(cells[std::size_t(serial)]);
            EXPECT_EQ(gotCells, wantCells) << int(kind) << (descending ? " descending" : "");
        }
    }
}

TEST(SortByColumn, KeepsTheOrderOfEqualCellsAndEachColumnsOwnDirection) {
    CatalogList list = listOf(kColumnTotalFiles, {"2", "1", "2", "1"});
    sortByColumn(list, 2);
    std::vector<int> serials;
    for (const CatalogRow& row : list.rows) serials.push_back(row.serial);
    EXPECT_EQ(serials, (std::vector<int>{1, 3, 0, 2}));
    sortByColumn(list, 0); // another column starts ascending too
    EXPECT_EQ(list.sortDirection[0], 1);
    EXPECT_EQ(list.sortDirection[2], 1);
    resetCatalog(list); // New keeps the directions
    EXPECT_EQ(list.sortDirection[2], 1);
}
