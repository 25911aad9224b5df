// Where the pictures go: the normal-mode window that follows the picture,
// zoom steps and their titles, fit modes, two-page placement, and drawing.
#include <QTextBrowser>
#include <QWidget>

#include "platform/application.h"
#include "platform/window_host.h"
#include "resources/command_ids.h"
#include "viewer/navigation.h"
#include "platform/ui_fixture.h"
#include "support/bmp_writer.h"
#include "viewer/viewer_fixture.h"

using namespace viewer_test;

namespace {

platform::Size clientOf(platform::WindowId window) {
    const platform::Rect rect = platform::clientRect(window);
    return {rect.width(), rect.height()};
}

// Gives the main window a client area of `client`.
void setClient(platform::WindowId window, platform::Size client) {
    const platform::Rect outer = platform::windowRect(window);
    const platform::Size now = clientOf(window);
    platform::moveWindow(window,
                         platform::rectAt(outer.left, outer.top,
                                          outer.width() - now.width + client.width,
                                          outer.height() - now.height + client.height));
    platform::processPendingMessages();
}

QRgb pixelOf(platform::WindowId window, int x, int y) {
    return platform::detail::clientWidget(window)->grab(QRect(x, y, 1, 1)).toImage().pixel(0, 0) &
           0xffffff;
}

} // namespace

TEST_F(ViewerTest, NormalModeWindowFollowsThePictureAtLeast400WideWithTheMenuBar) {
    openNormal({{120, 90}});
    EXPECT_EQ(platform::windowRect(v().mainWindow).width(), 400);
    EXPECT_EQ(clientOf(v().pictureWindow), (platform::Size{120, 90}));
    EXPECT_EQ(clientOf(v().mainWindow).height, 90);
    command(cmd::ToggleMenu);
    command(cmd::NextPage); // a one-page book: the page is laid out again
    EXPECT_EQ(clientOf(v().mainWindow), (platform::Size{120, 90}));
}

TEST_F(ViewerTest, ZoomStepsScaleThePictureAndNameTheStepInTheTitle) {
    openNormal({kPortrait});
    command(cmd::ZoomIn);
    EXPECT_EQ(v().layout.zoomIndex, 5);
    EXPECT_EQ(clientOf(v().pictureWindow), (platform::Size{75, 100}));
    EXPECT_EQ(title(), "01.bmp x1.25");
    command(cmd::ZoomOut);
    command(cmd::ZoomOut);
    EXPECT_EQ(clientOf(v().pictureWindow), (platform::Size{45, 60}));
    EXPECT_EQ(title(), "01.bmp x0.75");
    command(cmd::ActualSize);
    EXPECT_EQ(title(), "01.bmp");
    for (int i = 0; i < 12; ++i) command(cmd::ZoomOut);
    EXPECT_EQ(v().layout.zoomIndex, 0);
    for (int i = 0; i < 15; ++i) command(cmd::ZoomIn);
    EXPECT_EQ(v().layout.zoomIndex, 12);
    EXPECT_EQ(title(), "01.bmp x10.0");
}

TEST_F(ViewerTest, AFitLayoutResetsTheZoomAndAResizeDoesNotRefit) {
    openNormal({kPortrait}, [](ViewerState& s) {
        s.PICTUREMODE = 1; // fit the window
        s.modesizech = 1;  // the window keeps its size
    });
    const platform::Size client = clientOf(v().mainWindow);
    EXPECT_EQ(clientOf(v().pictureWindow), client);
    EXPECT_EQ(title(), "01.bmp"); // scaled, but at step 4: no suffix
    setClient(v().mainWindow, {client.width + 50, client.height + 40});
    EXPECT_EQ(clientOf(v().pictureWindow), client);
    EXPECT_EQ(v().layout.scrollX, 25); // centred in the larger client
    command(cmd::ZoomIn);
    EXPECT_EQ(clientOf(v().pictureWindow), (platform::Size{75, 100}));
}

TEST_F(ViewerTest, LockedZoomSurvivesPageChanges) {
    openNormal({kPortrait, kPortrait});
    command(cmd::ZoomIn);
    command(cmd::LockZoom);
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::LockZoom));
    command(cmd::NextPage);
    EXPECT_EQ(v().layout.zoomIndex, 5);
    EXPECT_EQ(title(), "02.bmp x1.25");
}

TEST_F(ViewerTest, TwoPageSpreadsMeetAtTheCentreLine) {
    start([](ViewerState& s) {
        s.MODE = kTwoPageMode;
        s.picturemode = 1; // keep the aspect ratio
    });
    setClient(v().mainWindow, {800, 600});
    ASSERT_TRUE(openPath(writeBook({{400, 600}, {300, 600}})));
    const ViewLayout& layout = v().layout;
    EXPECT_EQ(layout.firstOrigin, (platform::Point{400, 0}));
    EXPECT_EQ(layout.displayWidth, 400);
    EXPECT_EQ(layout.secondOrigin, (platform::Point{100, 0}));
    EXPECT_EQ(layout.secondDisplayWidth, 300);
    EXPECT_EQ(clientOf(v().pictureWindow), (platform::Size{800, 600}));
    // A resize re-fits the spread into the new client.
    setClient(v().mainWindow, {400, 300});
    EXPECT_EQ(layout.firstOrigin, (platform::Point{200, 0}));
    EXPECT_EQ(layout.displayHeight, 300);
}

TEST_F(ViewerTest, ASmallPictureInReduceModeIsDrawnAtItsSizeInTheCentre) {
    start([](ViewerState& s) { s.MODE = kTwoPageMode; });
    setClient(v().mainWindow, {400, 300});
    ASSERT_TRUE(openPath(writeBook({{100, 50}})));
    EXPECT_EQ(v().layout.firstOrigin, (platform::Point{150, 125}));
    EXPECT_EQ(v().layout.displayWidth, 100);
    // The platform stretch draws the page there; the rest stays black.
    EXPECT_NE(pixelOf(v().pictureWindow, 200, 150), 0u);
    EXPECT_EQ(pixelOf(v().pictureWindow, 20, 20), 0u);
}

TEST_F(ViewerTest, TheEnginesComposeTheScreenBitmapThatIsDrawn) {
    start([](ViewerState& s) {
        s.MODE = kTwoPageMode;
        s.modes[kTwoPageMode].engine = 1;
    });
    setClient(v().mainWindow, {400, 300});
    ASSERT_TRUE(openPath(writeBook({{100, 50}})));
    EXPECT_EQ(v().screen.width, 400);
    EXPECT_EQ(v().screen.height, 300);
    EXPECT_NE(pixelOf(v().pictureWindow, 200, 150), 0u);
    EXPECT_EQ(pixelOf(v().pictureWindow, 20, 20), 0u);
    command(cmd::NormalMode);
    // At its own size a 24-bit page is drawn from its own rows...
    EXPECT_EQ(v().screen.bits, nullptr);
    EXPECT_NE(pixelOf(v().pictureWindow, 50, 25), 0u);
    // ...and scaled, normal mode's engine composes at the displayed size.
    command(cmd::ZoomIn);
    EXPECT_EQ(v().screen.width, 125);
    EXPECT_EQ(v().screen.height, 62);
    EXPECT_NE(pixelOf(v().pictureWindow, 60, 30), 0u);
}

TEST_F(ViewerTest, FullScreenCoversTheScreenAndGivesBackTheWindowAndMenuBar) {
    openTwoPage({kPortrait, kPortrait});
    // Away from the screen's edge, where the offscreen screen would push it.
    platform::moveWindow(v().mainWindow, platform::rectAt(100, 80, 450, 300));
    const platform::Rect before = platform::windowRect(v().mainWindow);
    command(cmd::FullScreen);
    EXPECT_TRUE(v().layout.fullScreen);
    EXPECT_EQ(v().settings.MENU, 0);
    EXPECT_EQ(platform::attachedMenu(v().mainWindow), 0u);
    EXPECT_TRUE(platform::isMaximised(v().mainWindow));
    command(cmd::FullScreen);
    EXPECT_FALSE(v().layout.fullScreen);
    EXPECT_EQ(v().settings.MENU, 1);
    EXPECT_EQ(platform::attachedMenu(v().mainWindow), v().menu);
    EXPECT_EQ(platform::windowRect(v().mainWindow), before);
}

TEST_F(ViewerTest, FitWindowToPictureSizesTheClientToTheSpread) {
    openTwoPage({kPortrait, kPortrait});
    command(cmd::FitWindowToPicture);
    const ViewLayout& layout = v().layout;
    EXPECT_EQ(clientOf(v().mainWindow).width, layout.displayWidth + layout.secondDisplayWidth);
}

TEST_F(ViewerTest, TitleRulesForNamesAndFolders) {
    start([](ViewerState& s) { s.dispdirectory = 1; });
    const std::string book = temp / "My Book" + "/";
    testing_support::writeFile(book + "100%s.bmp", testing_support::makeBmp(20, 20, 24));
    ASSERT_TRUE(openPath(book));
    EXPECT_EQ(title(), "My Book 100%s.bmp");
}

TEST_F(ViewerTest, AZoomTooLargeForAScreenBitmapIsDrawnByThePlatformStretch) {
    openNormal({{20, 20}});
    for (int i = 0; i < 8; ++i) command(cmd::ZoomIn);
    command(cmd::LockZoom); // 10 x from now on
    ASSERT_TRUE(openPath(writeBook({{1000, 1000}})));
    EXPECT_EQ(v().layout.displayWidth, 10000);
    EXPECT_EQ(v().screen.bits, nullptr);
    EXPECT_NE(pixelOf(v().pictureWindow, 5, 5), 0u);
}

TEST_F(ViewerTest, FitModesApplyToThePicturesOnScreenAtOnce) {
    openNormal({kPortrait}, [](ViewerState& s) { s.modesizech = 1; });
    EXPECT_EQ(clientOf(v().pictureWindow), kPortrait);
    command(cmd::NormalFitWindow);
    EXPECT_EQ(clientOf(v().pictureWindow), clientOf(v().mainWindow));
    command(cmd::NormalFitPicture);
    EXPECT_EQ(clientOf(v().pictureWindow), kPortrait);
    command(cmd::TwoPageMode);
    setClient(v().mainWindow, {400, 300});
    EXPECT_EQ(v().layout.displayWidth, kPortrait.width); // reduce only: its own size
    command(cmd::TwoPageFitWindow);
    EXPECT_EQ(v().layout.displayWidth, 400);
    EXPECT_EQ(v().layout.displayHeight, 300);
}

TEST_F(ViewerTest, LeavingFullScreenGivesEachModeItsWindow) {
    // Normal mode, the picture at its own size: the frame around the picture,
    // at least 400 wide with the menu bar.
    start({}, {"/pos(100,80,500,400)"});
    ASSERT_TRUE(openPath(writeBook({{120, 90}, {500, 90}})));
    const platform::Rect before = platform::windowRect(v().mainWindow);
    const platform::Size client = clientOf(v().mainWindow);
    const int frameWidth = before.width() - client.width;
    const int frameHeight = before.height() - client.height;
    command(cmd::FullScreen);
    command(cmd::FullScreen);
    EXPECT_EQ(platform::windowRect(v().mainWindow),
              platform::rectAt(before.left, before.top, 400, frameHeight + 90));
    command(cmd::NextPage);
    command(cmd::FullScreen);
    command(cmd::FullScreen);
    EXPECT_EQ(platform::windowRect(v().mainWindow).width(), frameWidth + 500);
    // Entered in normal mode and left in two-page mode: the two-page window.
    const platform::Rect twoPage = v().layout.twoPageWindowRect;
    command(cmd::FullScreen);
    command(cmd::TwoPageMode);
    command(cmd::FullScreen);
    EXPECT_EQ(platform::windowRect(v().mainWindow), twoPage);
}

TEST_F(ViewerTest, WithRotmoveATurnedPageStartsAtTheCornerItsTopTurnedTo) {
    const platform::Size wide{1500, 1000}; // after the turn
    for (int transform : {1, 2}) {
        openNormal({{1000, 1500}}, [&](ViewerState& s) {
            s.rotmove = 1;
            s.savefilter = 1;
            s.modes[kNormalMode].TRANSFORM = transform;
        });
        command(cmd::FullScreen);
        ASSERT_TRUE(ui_test::waitFor([&] { return v().layout.fullScreen; }));
        command(cmd::NextPage); // a full-screen layout of the turned page
        const platform::Size client = clientOf(v().mainWindow);
        ASSERT_EQ(clientOf(v().pictureWindow), wide);
        // Turned right, the page's top is at the right: the bottom-right
        // corner shows; turned left, the bottom-left one.
        EXPECT_EQ(v().layout.scrollX, transform == 1 ? client.width - wide.width : 0);
        EXPECT_EQ(v().layout.scrollY, client.height - wide.height);
        TearDown();
        SetUp();
    }
}

TEST_F(ViewerTest, HelpShowsThePageInAWindowOfItsOwnWhenTheDesktopCannot) {
    // The offscreen desktop has no program for HTML.
    start();
    command(cmd::Help);
    ASSERT_EQ(ui_test::shownHtmlWindows().size(), 1u);
    QTextBrowser* page = ui_test::shownHtmlWindows().front();
    EXPECT_EQ(page->windowTitle().toStdString(), "Voxa ヘルプ");
    EXPECT_TRUE(page->toPlainText().contains(QString::fromUtf8("画像ビューア")));
}
