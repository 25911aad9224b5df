// Keys, characters, the wheel, mouse buttons, drops and the slideshow timer,
// delivered as the window system delivers them.
#include <QTest>
#include <utility>
#include <vector>

#include "platform/application.h"
#include "platform/dialog_seam.h"
#include "platform/ui_fixture.h"
#include "resources/command_ids.h"
#include "viewer/navigation.h"
#include "viewer/viewer_fixture.h"

using namespace viewer_test;
using Pages = std::vector<int>;

namespace {

const platform::Size P = kPortrait;
const platform::Size kLarge{1000, 1500};

} // namespace

TEST_F(ViewerTest, InTwoPageModeTheLeftArrowGoesForwardAndTheRightArrowBack) {
    openTwoPage({P, P, P, P, P, P});
    pressKey(Qt::Key_Left);
    EXPECT_EQ(shownPages(), (Pages{1, 2})); // next file
    pressKey(Qt::Key_Down);
    EXPECT_EQ(shownPages(), (Pages{3, 4})); // next page
    pressKey(Qt::Key_Right);
    EXPECT_EQ(shownPages(), (Pages{2, 3})); // previous file
    pressKey(Qt::Key_Up);
    EXPECT_EQ(shownPages(), (Pages{0, 1})); // previous page
    pressKey(Qt::Key_End);
    EXPECT_EQ(shownPages(), (Pages{4, 5}));
    pressKey(Qt::Key_Home);
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
}

TEST_F(ViewerTest, InNormalModeArrowsScrollAndOnlySpaceAndBackSpaceTurnPages) {
    openNormal({kLarge, kLarge, kLarge});
    const ViewLayout& layout = v().layout;
    ASSERT_EQ(layout.scrollY, 0);
    pressKey(Qt::Key_Down);
    EXPECT_EQ(layout.scrollY, -32);
    pressKey(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(layout.scrollY, -160);
    pressKey(Qt::Key_Right);
    EXPECT_EQ(layout.scrollX, -32);
    pressKey(Qt::Key_Left);
    EXPECT_EQ(layout.scrollX, 0);
    pressKey(Qt::Key_Up);
    EXPECT_EQ(layout.scrollY, -128);
    EXPECT_EQ(shownPages(), (Pages{0}));
    pressKey(Qt::Key_Space);
    EXPECT_EQ(shownPages(), (Pages{1}));
    pressKey(Qt::Key_Backspace);
    EXPECT_EQ(shownPages(), (Pages{0}));
}

TEST_F(ViewerTest, F7AndF8StepTheRotationAndStopAtBothEnds) {
    start([](ViewerState& s) {
        s.savefilter = 1;
        s.modes[kNormalMode].TRANSFORM = 6;
    });
    pressKey(Qt::Key_F7);
    EXPECT_EQ(v().mode().TRANSFORM, 6);
    pressKey(Qt::Key_F8);
    EXPECT_EQ(v().mode().TRANSFORM, 5);
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::MirrorLeftRight));
    for (int i = 0; i < 6; ++i) pressKey(Qt::Key_F8);
    EXPECT_EQ(v().mode().TRANSFORM, 0);
    pressKey(Qt::Key_F7);
    EXPECT_EQ(v().mode().TRANSFORM, 1);
}

TEST_F(ViewerTest, CharactersInEitherCase) {
    openTwoPage({P, P, P, P});
    typeCharacter('m');
    EXPECT_TRUE(v().normalMode());
    typeCharacter('M');
    EXPECT_FALSE(v().normalMode());
    typeCharacter('R', Qt::ShiftModifier); // a catalog row: nothing without a catalog
    typeCharacter('r');
    EXPECT_NE(v().layout.shownCount, 0);
    EXPECT_TRUE(boxes.empty());
    typeCharacter('q');
    EXPECT_EQ(v().mainWindow, 0u); // closed
}

TEST_F(ViewerTest, AcceleratorsSetTheTransparencyAndToggleTheCaption) {
    start();
    pressKey(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(v().settings.transparency, 127);
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::Transparency50));
    pressKey(Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(v().settings.CAPTION, 0);
    EXPECT_EQ(platform::windowStyle(v().mainWindow), platform::WindowStyle::CaptionLess);
}

TEST_F(ViewerTest, TheWheelTurnsPagesZoomsWithCtrlAndResizesInTwoPageMode) {
    openNormal({P, P, P});
    wheel(-120);
    EXPECT_EQ(shownPages(), (Pages{1}));
    wheel(120);
    EXPECT_EQ(shownPages(), (Pages{0}));
    wheel(-120, Qt::NoButton, Qt::ShiftModifier); // the next catalog row: nothing yet
    EXPECT_EQ(shownPages(), (Pages{0}));
    wheel(-120, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(v().layout.zoomIndex, 5);
    command(cmd::TwoPageMode);
    const platform::Rect before = platform::windowRect(v().mainWindow);
    wheel(-120, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(platform::windowRect(v().mainWindow).width(), before.width() + 80);
    EXPECT_EQ(platform::windowRect(v().mainWindow).height(), before.height() + 80);
}

TEST_F(ViewerTest, OnlyTheFirstDroppedFileIsOpened) {
    start();
    const std::string first = writeBook({P, P});
    const std::string second = writeBook({P});
    drop({first + "02.bmp", second + "01.bmp", second});
    EXPECT_EQ(v().pages.folder, first);
    EXPECT_EQ(title(), "02.bmp");
}

TEST_F(ViewerTest, ClicksTurnPagesOnlyInTwoPageModeWithClickPaging) {
    openTwoPage({P, P, P, P, P, P}, [](ViewerState& s) { s.modes[kTwoPageMode].clickpage = 1; });
    QTest::mouseClick(frameWindow(), Qt::LeftButton, Qt::NoModifier, inFrame({20, 20}));
    platform::processPendingMessages();
    EXPECT_EQ(shownPages(), (Pages{2, 3}));
    QTest::mouseClick(frameWindow(), Qt::RightButton, Qt::NoModifier, inFrame({20, 20}));
    platform::processPendingMessages();
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    command(cmd::NormalMode);
    QTest::mouseClick(frameWindow(), Qt::RightButton, Qt::NoModifier, inFrame({5, 5}));
    platform::processPendingMessages();
    EXPECT_EQ(shownPages(), (Pages{1}));
}

TEST_F(ViewerTest, TheFirstExtraButtonOpensThePageDialogWhenReleased) {
    openNormal({P, P, P});
    ui_test::DialogAnswerer answerer([](platform::DialogId dialog) {
        platform::typeText(dialog, 1003, "2");
        platform::clickControl(dialog, platform::kOkId);
    });
    QTest::mousePress(frameWindow(), Qt::XButton1, Qt::NoModifier, inFrame({20, 20}));
    platform::processPendingMessages();
    EXPECT_TRUE(answerer.asked.empty()); // not on the press
    QTest::mouseRelease(frameWindow(), Qt::XButton1, Qt::NoModifier, inFrame({20, 20}));
    platform::processPendingMessages();
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_EQ(answerer.asked[0].resource, "POWER");
    EXPECT_EQ(title(), "03.bmp");
}

TEST_F(ViewerTest, DraggingInFullScreenMovesThreeTimesWithTheLeftAndOnceWithTheRightButton) {
    openNormal({kLarge});
    command(cmd::FullScreen);
    ASSERT_TRUE(ui_test::waitFor([&] { return v().layout.fullScreen; }));
    QWindow* frame = frameWindow();
    for (auto [button, factor] : {std::pair{Qt::LeftButton, 3}, {Qt::RightButton, 1}}) {
        const platform::Point start{v().layout.scrollX, v().layout.scrollY};
        const platform::Rect placed = platform::rectInParent(v().pictureWindow);
        ASSERT_EQ(placed.left, start.x);
        // Up and to the left, so the picture can follow inside its bounds;
        // each move counts from the press.
        const QPoint press = inFrame({300, 300});
        QTest::mouseMove(frame, press);
        QTest::mousePress(frame, button, Qt::NoModifier, press);
        QTest::mouseMove(frame, press + QPoint(-5, -2));
        QTest::mouseMove(frame, press + QPoint(-10, -4));
        platform::processPendingMessages();
        const platform::Rect dragged = platform::rectInParent(v().pictureWindow);
        EXPECT_EQ(dragged.left, start.x - factor * 10) << button;
        EXPECT_EQ(dragged.top, start.y - factor * 4) << button;
        QTest::mouseRelease(frame, button, Qt::NoModifier, press + QPoint(-10, -4));
        platform::processPendingMessages();
        EXPECT_FALSE(v().mouse.dragActive);
        QTest::mouseMove(frame, press + QPoint(-12, -4)); // the next drag starts here
        platform::processPendingMessages();
    }
}

TEST_F(ViewerTest, AltCombinationsAreLeftToTheMenuBar) {
    openTwoPage({P, P, P, P});
    pressKey(Qt::Key_Return, Qt::AltModifier);
    EXPECT_FALSE(v().layout.fullScreen);
    pressKey(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    typeCharacter('q', Qt::AltModifier);
    EXPECT_NE(v().mainWindow, 0u); // still open
    pressKey(Qt::Key_C, Qt::AltModifier); // the accelerator still works
    EXPECT_EQ(v().settings.CAPTION, 0);
}

TEST_F(ViewerTest, TheHoverShownMenuIsForgottenWhenTheMenuIsHiddenOrFullScreenEnds) {
    openTwoPage({P, P}, [](ViewerState& s) { s.modes[kTwoPageMode].automenu = 1; });
    command(cmd::FullScreen);
    ASSERT_TRUE(ui_test::waitFor([&] { return v().layout.fullScreen; }));
    QWindow* frame = frameWindow();
    auto hover = [&](int y) {
        QTest::mouseMove(frame, inFrame({100, y}));
        platform::processPendingMessages();
    };
    auto menuShown = [&] { return platform::attachedMenu(v().mainWindow) != 0; };
    hover(2); // the top edge shows the menu bar
    ASSERT_TRUE(menuShown());
    pressKey(Qt::Key_Escape); // hidden by hand
    EXPECT_FALSE(menuShown());
    hover(200); // back in the picture: it stays hidden
    EXPECT_FALSE(menuShown());

    hover(2);
    ASSERT_TRUE(menuShown());
    command(cmd::FullScreen); // leave, with the menu bar of before
    command(cmd::FullScreen); // and enter again: no menu bar
    ASSERT_TRUE(ui_test::waitFor([&] { return v().layout.fullScreen; }));
    EXPECT_FALSE(menuShown());
    hover(200);
    EXPECT_FALSE(menuShown());
}

TEST_F(ViewerTest, TheSlideshowTurnsPagesOnEveryTickUntilStopped) {
    openTwoPage({P, P, P, P, P, P}, [](ViewerState& s) { s.slidetime = 100; });
    command(cmd::Slideshow);
    EXPECT_TRUE(v().slideshowRunning);
    EXPECT_TRUE(platform::hasTimer(v().mainWindow, cmd::SlideshowTimer));
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::Slideshow));
    ASSERT_TRUE(ui_test::waitFor([&] { return shownPages() == Pages{2, 3}; }));
    command(cmd::NormalMode);
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::Slideshow)); // the new menu too
    command(cmd::Slideshow);
    EXPECT_FALSE(platform::hasTimer(v().mainWindow, cmd::SlideshowTimer));
    EXPECT_FALSE(platform::isMenuItemChecked(v().menu, cmd::Slideshow));
}
