#include "viewer/layout_math.h"

#include <gtest/gtest.h>

using platform::Point;
using platform::Rect;
using platform::Size;

TEST(LayoutMath, NormalFitModes) {
    const Size picture{1000, 1500}, client{500, 400};
    EXPECT_EQ(normalDisplaySize(picture, client, kFitWidth, false, 9), (Size{500, 750}));
    EXPECT_EQ(normalDisplaySize(picture, client, kFitHeight, false, 9), (Size{266, 400}));
    EXPECT_EQ(normalDisplaySize(picture, client, kFitWindow, false, 9), client);
    EXPECT_EQ(normalDisplaySize(picture, client, kFitPicture, false, 9), picture);
    EXPECT_EQ(normalDisplaySize(picture, client, 77, false, 9), picture);
    EXPECT_EQ(normalDisplaySize(picture, {0, 0}, kFitWindow, false, 9), picture);
    // Never below one pixel, however thin the picture.
    EXPECT_EQ(normalDisplaySize({4000, 1}, {500, 400}, kFitWidth, false, 4), (Size{500, 1}));
    // A locked zoom wins over the fit mode.
    EXPECT_EQ(normalDisplaySize(picture, client, kFitWidth, true, 0), (Size{100, 150}));
}

TEST(LayoutMath, ZoomStepsAndTheirEnds) {
    const Size picture{800, 600}, client{400, 300};
    auto in = zoomIn(kActualSizeZoom, {0, 0}, picture, client);
    ASSERT_TRUE(in.has_value());
    EXPECT_EQ(in->zoomIndex, 5);
    EXPECT_EQ(in->display, (Size{1000, 750}));
    auto out = zoomOut(kActualSizeZoom, {0, 0}, picture, client);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->display, (Size{600, 450}));
    EXPECT_FALSE(zoomIn(12, {0, 0}, picture, client).has_value());
    EXPECT_FALSE(zoomOut(0, {0, 0}, picture, client).has_value());
    EXPECT_FALSE(actualSize(kActualSizeZoom, {0, 0}, picture, client).has_value());
}

TEST(LayoutMath, ZoomKeepsTheTopLeftPointAndClosesGaps) {
    const Size picture{800, 600}, client{400, 300};
    // At 1.0 scrolled to (-200, -100); zooming in to 1.25 scales the offset.
    auto in = zoomIn(kActualSizeZoom, {-200, -100}, picture, client);
    EXPECT_EQ(in->scroll, (Point{-250, -125}));
    // A positive (centring) offset is dropped once the picture is larger.
    auto centred = zoomIn(kActualSizeZoom, {50, 10}, {300, 280}, client);
    EXPECT_EQ(centred->display, (Size{375, 350}));
    EXPECT_EQ(centred->scroll, (Point{50, 0}));
    // Zooming out from 1.0 to 0.75: -400 becomes -300, which would open a gap
    // (600 - 300 < 400), so the picture's right edge goes to the client's.
    auto out = zoomOut(kActualSizeZoom, {-400, 0}, picture, client);
    EXPECT_EQ(out->scroll, (Point{-200, 0}));
    auto actual = actualSize(8, {-900, -30}, picture, client);
    EXPECT_EQ(actual->display, picture);
    EXPECT_EQ(actual->scroll, (Point{-300, -10}));
}

TEST(LayoutMath, ScrollOffsets) {
    EXPECT_EQ(centredScroll(500, 300), 100);
    EXPECT_EQ(centredScroll(300, 500), 0);
    EXPECT_EQ(centreOnScroll(400, 1000, 1000), -600);
    EXPECT_EQ(centreOnScroll(400, 1000, 0), 0);
    EXPECT_EQ(centreOnScroll(400, 1000, 500), -300);
    EXPECT_EQ(centreOnScroll(1000, 400, 5), 300);
    EXPECT_EQ(scrollByAxis(0, -50, 400, 1000), -50);
    EXPECT_EQ(scrollByAxis(-580, -50, 400, 1000), -600);
    EXPECT_EQ(scrollByAxis(-10, 50, 400, 1000), 0);
    EXPECT_EQ(scrollByAxis(0, -50, 400, 300), 0);
    EXPECT_EQ(resizedScroll(-100, 800, 600), 100);
    EXPECT_EQ(resizedScroll(40, 400, 600), 0);
    EXPECT_EQ(resizedScroll(-300, 400, 600), -200);
    EXPECT_EQ(resizedScroll(-100, 400, 600), -100);
}

TEST(LayoutMath, WindowFollowsThePictureInsideTheWorkArea) {
    const Rect work{0, 0, 1920, 1040};
    const Size frame{16, 60};
    EXPECT_EQ(windowRectForDisplay({100, 50, 500, 500}, frame, {800, 600}, work, true),
              platform::rectAt(100, 50, 816, 660));
    // Narrow pictures keep the window wide enough for the menu bar.
    EXPECT_EQ(windowRectForDisplay({100, 50, 500, 500}, frame, {300, 600}, work, true).width(),
              400);
    EXPECT_EQ(windowRectForDisplay({100, 50, 500, 500}, frame, {300, 600}, work, false).width(),
              316);
    // Past the right edge: moved left; wider than the work area: clamped to it.
    EXPECT_EQ(windowRectForDisplay({1500, 50, 1900, 500}, frame, {800, 600}, work, true),
              platform::rectAt(1120, 50, 800, 660));
    EXPECT_EQ(windowRectForDisplay({100, 900, 500, 1000}, frame, {3000, 2000}, work, true),
              platform::rectAt(0, 0, 1920, 1040));
}

TEST(LayoutMath, TwoPageSpreadsMeetAtTheCentre) {
    const Size client{800, 600};
    auto right = placeTwoPage(client, {400, 600}, Size{300, 600}, kKeepAspect, true);
    EXPECT_EQ(right.first, (Size{400, 600}));
    EXPECT_EQ(right.firstOrigin, (Point{400, 0}));
    EXPECT_EQ(right.second, (Size{300, 600}));
    EXPECT_EQ(right.secondOrigin, (Point{100, 0}));
    auto left = placeTwoPage(client, {400, 600}, Size{300, 600}, kKeepAspect, false);
    EXPECT_EQ(left.firstOrigin, (Point{0, 0}));
    EXPECT_EQ(left.secondOrigin, (Point{400, 0}));
    auto reduce = placeTwoPage(client, {200, 300}, Size{1000, 3000}, kReduceOnly, true);
    EXPECT_EQ(reduce.first, (Size{200, 300}));
    EXPECT_EQ(reduce.firstOrigin, (Point{400, 150}));
    EXPECT_EQ(reduce.second, (Size{200, 600}));
    auto stretch = placeTwoPage(client, {10, 10}, Size{20, 20}, kStretchToHalves, false);
    EXPECT_EQ(stretch.first, (Size{400, 600}));
    EXPECT_EQ(stretch.secondOrigin, (Point{400, 0}));
}

TEST(LayoutMath, TwoPageSinglePictures) {
    const Size client{800, 600};
    auto small = placeTwoPage(client, {201, 101}, std::nullopt, kReduceOnly, true);
    EXPECT_EQ(small.first, (Size{201, 101}));
    EXPECT_EQ(small.firstOrigin, (Point{400 - 100, 300 - 50}));
    auto large = placeTwoPage(client, {1600, 600}, std::nullopt, kReduceOnly, true);
    EXPECT_EQ(large.first, (Size{800, 300}));
    EXPECT_EQ(large.firstOrigin, (Point{0, 150}));
    EXPECT_EQ(placeTwoPage(client, {5, 5}, std::nullopt, kStretchToHalves, true).first, client);
}

TEST(LayoutMath, BackgroundIsTheClientMinusThePictures) {
    const Rect client{0, 0, 800, 600};
    auto pieces = subtractRects(
        client, {platform::rectAt(100, 0, 300, 600), platform::rectAt(400, 0, 400, 600)});
    long area = 0;
    for (const Rect& r : pieces) {
        area += static_cast<long>(r.width()) * r.height();
        EXPECT_FALSE(r.isEmpty());
    }
    EXPECT_EQ(area, 100 * 600);
    EXPECT_TRUE(subtractRects(client, {client}).empty());
    EXPECT_EQ(subtractRects(client, {}).size(), 1u);
    auto centred = subtractRects(client, {platform::rectAt(300, 250, 200, 100)});
    EXPECT_EQ(centred.size(), 4u);
}
