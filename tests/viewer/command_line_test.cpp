#include "viewer/command_line.h"

#include <climits>
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

TEST(CommandLine, PlacementsAreHeldToTheScreenWithoutOverflow) {
    const platform::Rect screen = platform::rectAt(0, 0, 1280, 1024);
    EXPECT_EQ(placementOnScreen({10, 20, 800, 600}, screen), platform::rectAt(10, 20, 800, 600));
    EXPECT_EQ(placementOnScreen({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, screen),
              platform::rectAt(1279, 1023, 1, 1));
    EXPECT_EQ(placementOnScreen({INT_MIN, 100, INT_MAX, -5}, screen),
              platform::rectAt(0, 100, 1280, 1));
    EXPECT_EQ(placementOnScreen({1000, 900, 800, 600}, screen),
              platform::rectAt(1000, 900, 280, 124));
    // A desktop whose screens reach left of the origin.
    EXPECT_EQ(placementOnScreen({-1500, 0, 400, 300}, platform::rectAt(-1280, 0, 2560, 1024)),
              platform::rectAt(-1280, 0, 400, 300));
}
