#include "catalog/cell_values.h"

#include <gtest/gtest.h>

using Date = std::array<int, 5>;

TEST(CellNumber, ReadsTheLeadingDecimalNumberAndZeroWithout) {
    EXPECT_EQ(cellNumber("  42abc"), 42);
    EXPECT_EQ(cellNumber("-7"), -7);
    EXPECT_EQ(cellNumber("+3"), 3);
    EXPECT_EQ(cellNumber(""), 0);
    EXPECT_EQ(cellNumber("abc12"), 0);
    EXPECT_EQ(cellNumber("- 5"), 0);
    // A size past 32 bits keeps its value; past 64 bits it stops at the end.
    EXPECT_EQ(cellNumber("4294967296"), 4294967296LL);
    EXPECT_EQ(cellNumber("99999999999999999999999"), LLONG_MAX);
}

TEST(CellDate, ReadsThePatternFieldByFieldAndStopsAtTheFirstMismatch) {
    EXPECT_EQ(cellDate("2003/05/01 09:07"), (Date{2003, 5, 1, 9, 7}));
    EXPECT_EQ(cellDate("2003/5/1  9:7"), (Date{2003, 5, 1, 9, 7}));
    EXPECT_EQ(cellDate("12"), (Date{12, 0, 0, 0, 0}));
    // A field holds four (then two) characters: 12345 reads 1234, then no "/".
    EXPECT_EQ(cellDate("12345"), (Date{1234, 0, 0, 0, 0}));
    EXPECT_EQ(cellDate("2003-05-01"), (Date{2003, 0, 0, 0, 0}));
    EXPECT_EQ(cellDate("2003/05/011"), (Date{2003, 5, 1, 1, 0}));
    EXPECT_EQ(cellDate(""), (Date{}));
    EXPECT_EQ(cellDate("x2003"), (Date{}));
}

TEST(Stars, AreCountedInCharactersNeverCutInsideOne) {
    EXPECT_EQ(leadingStars("★★ good"), 2);
    EXPECT_EQ(leadingStars("good★"), 0);
    EXPECT_EQ(leadingStars("★\xE2\x98"), 1); // a star cut short is no star
    EXPECT_EQ(leadingStars("☆★"), 0);
    EXPECT_EQ(stars(3), "★★★");
    EXPECT_EQ(stars(0), "");
}
