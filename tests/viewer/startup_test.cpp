// The command line's effects in their fixed order, and the shutdown that
// saves the settings.
#include <vector>

#include "platform/application.h"
#include "resources/command_ids.h"
#include "settings/settings_file.h"
#include "viewer/viewer_fixture.h"

using namespace viewer_test;
using Pages = std::vector<int>;

namespace {

ViewerState savedSettings(const std::string& path) {
    ViewerState state;
    startupDefaults(state);
    EXPECT_EQ(loadSettings(state, settingsAt(path)), 1);
    return state;
}

} // namespace

TEST_F(ViewerTest, FullScreenTwoPageModeAndAPathGiveTheSameResultInAnyOrder) {
    const std::vector<std::vector<std::string>> orders{{"/mode2", "/fs", "BOOK"},
                                                       {"BOOK", "/fs", "/mode2"}};
    for (const auto& order : orders) {
        SetUp();
        const std::string book = writeBook({kPortrait, kPortrait, kPortrait});
        std::vector<std::string> args = order;
        for (std::string& arg : args)
            if (arg == "BOOK") arg = book;
        start({}, args);
        EXPECT_TRUE(v().layout.fullScreen);
        EXPECT_FALSE(v().normalMode());
        EXPECT_EQ(shownPages(), (Pages{0, 1}));
        TearDown();
    }
}

TEST_F(ViewerTest, OnlyTheLastPathIsOpenedAndAnOptionInCapitalsIsAPath) {
    const std::string first = writeBook({kPortrait});
    const std::string second = writeBook({kPortrait, kPortrait});
    start({}, {first, second});
    EXPECT_EQ(v().pages.folder, second);
    TearDown();
    SetUp();
    start({}, {"/FS"});
    EXPECT_FALSE(v().layout.fullScreen);
    ASSERT_EQ(boxes.size(), 1u); // "/FS" could not be opened
    EXPECT_EQ(boxes[0].caption, "エラーっす");
}

TEST_F(ViewerTest, TheSlideshowAndTheFitStartAfterThePictureIsShown) {
    const std::string book = writeBook({kPortrait, kPortrait});
    start({}, {"/as", "/slide", book});
    EXPECT_TRUE(v().slideshowRunning);
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::Slideshow));
    EXPECT_EQ(v().layout.shownCount, 1);
}

TEST_F(ViewerTest, PosPlacesTheWindowAndBecomesTheTwoPageRectangle) {
    start({}, {"/pos(30,40,500,420)"});
    EXPECT_EQ(platform::windowRect(v().mainWindow), platform::rectAt(30, 40, 500, 420));
    EXPECT_EQ(v().layout.twoPageWindowRect, platform::rectAt(30, 40, 500, 420));
}

TEST_F(ViewerTest, ClosingSavesTheSettingsWithTheMenuBarOfBeforeFullScreen) {
    start([](ViewerState& s) { s.MODE = kTwoPageMode; }, {"/fs"});
    EXPECT_EQ(v().settings.MENU, 0);
    command(cmd::SpreadAlways);
    command(cmd::Exit);
    EXPECT_EQ(v().mainWindow, 0u);
    const ViewerState saved = savedSettings(settingsPath);
    EXPECT_EQ(saved.MENU, 1);
    EXPECT_EQ(saved.mihiraki, 2);
    EXPECT_EQ(saved.MODE, kTwoPageMode);
}

TEST_F(ViewerTest, TheMenuOfTheSavedModeIsLoadedWithItsMarks) {
    start([](ViewerState& s) {
        s.MODE = kTwoPageMode;
        s.savefilter = 1;
        s.modes[kTwoPageMode].FILTER = 6;    // no item
        s.modes[kTwoPageMode].TRANSFORM = 6; // upside down, not mirrored
        s.transparency = 100;                // marks 75 %
        s.mihiraki = 1;
        s.RightorLeft = 0;
    });
    const platform::MenuHandle menu = v().menu;
    EXPECT_EQ(platform::attachedMenu(v().mainWindow), menu);
    EXPECT_TRUE(platform::hasMenuItem(menu, cmd::ReverseBinding)); // the two-page menu
    for (int id : {cmd::FilterNone, cmd::FilterNegative, cmd::FilterGrey, cmd::FilterBlur,
                   cmd::FilterBlur2, cmd::FilterSharpen, cmd::FilterBrighten, cmd::FilterDarken})
        EXPECT_FALSE(platform::isMenuItemChecked(menu, id)) << id;
    EXPECT_TRUE(platform::isMenuItemChecked(menu, cmd::FlipUpsideDown));
    EXPECT_FALSE(platform::isMenuItemChecked(menu, cmd::MirrorLeftRight));
    EXPECT_TRUE(platform::isMenuItemChecked(menu, cmd::Transparency75));
    EXPECT_TRUE(platform::isMenuItemChecked(menu, cmd::SpreadNever));
    EXPECT_TRUE(platform::isMenuItemChecked(menu, cmd::BindLeft));
    EXPECT_TRUE(platform::isMenuItemChecked(menu, cmd::TwoPageMode));
    EXPECT_TRUE(platform::isMenuItemChecked(menu, cmd::TwoPageReduceOnly));
}

TEST_F(ViewerTest, WithoutSynchroEachModeKeepsItsOwnFilterAndShowsIt) {
    start();
    command(cmd::FilterGrey);
    EXPECT_EQ(v().settings.modes[kNormalMode].FILTER, 7);
    EXPECT_EQ(v().settings.modes[kTwoPageMode].FILTER, 0);
    command(cmd::TwoPageMode);
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::FilterNone));
    command(cmd::ToggleMenu);
    EXPECT_EQ(platform::attachedMenu(v().mainWindow), 0u);
    command(cmd::NormalMode); // the new menu stays off the window
    EXPECT_EQ(platform::attachedMenu(v().mainWindow), 0u);
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::FilterGrey));
    command(cmd::ToggleMenu);
    command(cmd::RotateLeft);
    EXPECT_EQ(v().settings.modes[kNormalMode].TRANSFORM, 2);
    EXPECT_EQ(v().settings.modes[kTwoPageMode].TRANSFORM, 0);
}

TEST_F(ViewerTest, WithSynchroFilterAndRotationSetBothModes) {
    start([](ViewerState& s) { s.synchro = 1; });
    command(cmd::FilterBlur2);
    command(cmd::RotateAutoLeft);
    for (const ModeSettings& mode : v().settings.modes) {
        EXPECT_EQ(mode.FILTER, 8);
        EXPECT_EQ(mode.TRANSFORM, 4);
    }
}

TEST_F(ViewerTest, TheVersionBoxAndTheOpenDialog) {
    start();
    command(cmd::Version);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Voxa Ver 0.814 \n  \n");
    EXPECT_EQ(boxes[0].caption, "VOXA..");
    EXPECT_EQ(boxes[0].icon, platform::MessageIcon::Information);
    const std::string book = writeBook({kPortrait, kPortrait});
    platform::setModalAnswerer([&](const platform::ModalRequest& request) {
        boxes.push_back(request);
        return platform::ModalAnswer{platform::DialogResult::Ok, book + "02.bmp", 0};
    });
    command(cmd::Open);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].kind, platform::ModalKind::OpenFile);
    EXPECT_EQ(boxes[1].caption, "開く");
    EXPECT_EQ(boxes[1].defaultExtension, "bmp");
    EXPECT_EQ(title(), "02.bmp");
    command(cmd::Open); // now it starts in the open folder
    EXPECT_EQ(boxes[2].folder, book);
}
