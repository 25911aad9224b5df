#include "platform/file_filter.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(FileFilter, PairsEndAtTheEmptyTextOrTheEndOfTheBytes) {
    std::string filter("All Files(*.*)\0*.*\0BMP files(*.bmp)\0*.bmp\0\0junk\0*.x\0", 52);
    auto pairs = parseFileFilter(filter);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].description, "All Files(*.*)");
    EXPECT_EQ(pairs[0].patterns, "*.*");
    EXPECT_EQ(pairs[1].description, "BMP files(*.bmp)");
    EXPECT_EQ(pairs[1].patterns, "*.bmp");

    // Cut short: the last description lacks its patterns.
    auto cut = parseFileFilter(std::string("JPEG\0*.jpg\0PNG", 14));
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].patterns, "*.jpg");
    EXPECT_TRUE(parseFileFilter("").empty());
}

TEST(FileFilter, PatternsSplitAtSemicolonsAndStarDotStarMeansEveryFile) {
    EXPECT_EQ(splitFilterPatterns("*.jpg; *.jpeg;;*.JPE "),
              (std::vector<std::string>{"*.jpg", "*.jpeg", "*.JPE"}));
    EXPECT_EQ(splitFilterPatterns("*.*"), (std::vector<std::string>{"*"}));
    EXPECT_TRUE(splitFilterPatterns(";").empty());
}
