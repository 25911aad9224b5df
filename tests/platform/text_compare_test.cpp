#include "platform/text_compare.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace platform;

TEST(TextCompare, IgnoresCaseAndComparesDigitsAsCharacters) {
    EXPECT_EQ(compareNoCase(".JPG", ".jpg"), 0);
    EXPECT_TRUE(equalsNoCase("Pic10.jpg", "pic10.JPG"));
    EXPECT_LT(compareNoCase("pic1.jpg", "Pic10.jpg"), 0);
    EXPECT_LT(compareNoCase("Pic10.jpg", "pic2.jpg"), 0);
    EXPECT_LT(compareNoCase("10.jpg", "2.jpg"), 0);
    EXPECT_GT(compareNoCase("b", "A"), 0);
    EXPECT_FALSE(equalsNoCase(".jpg", ".jpeg"));
    EXPECT_FALSE(equalsNoCase("", ".jpg"));
}

TEST(TextCompare, FoldsNonLatinCase) {
    EXPECT_TRUE(equalsNoCase("ΑΒΓ", "αβγ"));
    EXPECT_TRUE(equalsNoCase("ＡＢ", "ａｂ"));
    EXPECT_FALSE(equalsNoCase("カナ", "カタ"));
}

TEST(TextCompare, MalformedUtf8DoesNotBreakTheComparison) {
    std::string bad = "a\xff\xfe.jpg";
    EXPECT_EQ(compareNoCase(bad, bad), 0);
    EXPECT_NE(compareNoCase(bad, "a.jpg"), 0);
}

TEST(TextCompare, SortKeysOrderLikeTheComparison) {
    const std::vector<std::string> pieces = {"a",  "B",  "1", "10", ".", "_",
                                             "か", "カ", "Ä", "z",  "-"};
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        std::string a, b;
        for (int i = 0; i < 3; ++i)
            a += pieces[random() % pieces.size()];
        for (int i = 0; i < 3; ++i)
            b += pieces[random() % pieces.size()];
        int direct = compareNoCase(a, b);
        int byKey = sortKeyNoCase(a).compare(sortKeyNoCase(b));
        EXPECT_EQ(direct < 0, byKey < 0) << a << " vs " << b;
        EXPECT_EQ(direct == 0, byKey == 0) << a << " vs " << b;
    }
}
