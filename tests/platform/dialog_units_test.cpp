#include "platform/dialog_units.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(DialogUnits, QuarterCharacterAcrossEighthLineDownRoundedEdgeByEdge) {
    const DialogBaseUnits base = baseUnitsOf(364, 16); // 52 letters of 7 pixels
    EXPECT_EQ(base.x, 7);
    EXPECT_EQ(base.y, 16);
    EXPECT_EQ(baseUnitsOf(351, 15).x, 7); // 6.75 rounds up
    EXPECT_EQ(baseUnitsOf(324, 15).x, 6); // 6.23 rounds down
    // 5 units: 8.75 pixels across, 10 down; the right edge 163 x 7 / 4 = 285.25.
    EXPECT_EQ(unitsToPixels({5, 5, 158, 146}, base), (Rect{9, 10, 285, 302}));
    // Neighbours share their edge whatever the rounding.
    const Rect left = unitsToPixels({0, 0, 3, 3}, base);
    const Rect right = unitsToPixels({3, 0, 3, 3}, base);
    EXPECT_EQ(left.right, right.left);
    EXPECT_EQ(unitsToPixelsX(-3, base), -5);
}
