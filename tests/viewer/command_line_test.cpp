#include "viewer/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, OptionsInAnyOrderAndTheLastPath) {
    CommandLine line = parseCommandLine({"/fs", "first book", "/mode2", "/slide", "/as", "/list",
                                         "/mode1", "/home/reader/second book"});
    EXPECT_TRUE(line.fullScreen);
    EXPECT_TRUE(line.twoPageMode);
    EXPECT_TRUE(line.normalMode);
    EXPECT_TRUE(line.slideshow);
    EXPECT_TRUE(line.fitWindow);
    EXPECT_TRUE(line.showCatalog);
    EXPECT_FALSE(line.placement.has_value());
    EXPECT_EQ(line.path, "/home/reader/second book");
    EXPECT_EQ(parseCommandLine({"/mode2", "/fs", "b"}).path,
              parseCommandLine({"b", "/fs", "/mode2"}).path);
}

TEST(CommandLine, OptionsAreCaseSensitive) {
    CommandLine line = parseCommandLine({"/FS"});
    EXPECT_FALSE(line.fullScreen);
    EXPECT_EQ(line.path, "/FS");
    EXPECT_EQ(parseCommandLine({}).path, "");
}

TEST(CommandLine, PlacementNeedsAllFourNumbers) {
    CommandLine line = parseCommandLine({"/pos(10,20,800,600)"});
    ASSERT_TRUE(line.placement.has_value());
    EXPECT_EQ(line.placement->x, 10);
    EXPECT_EQ(line.placement->y, 20);
    EXPECT_EQ(line.placement->width, 800);
    EXPECT_EQ(line.placement->height, 600);
    EXPECT_FALSE(parseCommandLine({"/pos"}).placement.has_value());
    EXPECT_FALSE(parseCommandLine({"/pos(1,2,3)"}).placement.has_value());
    EXPECT_FALSE(parseCommandLine({"/posx"}).placement.has_value());
    EXPECT_EQ(parseCommandLine({"/pos"}).path, "");
    // A very long token is just a path; nothing has a fixed size here.
    EXPECT_EQ(parseCommandLine({std::string(5000, 'a')}).path.size(), 5000u);
}
