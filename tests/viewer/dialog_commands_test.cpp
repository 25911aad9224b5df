// The viewer's dialog commands on the whole offscreen viewer: each opens its
// dialog from its command or key, and what the dialog chose reaches the
// pictures, the settings, the slideshow and the clipboard.
#include <QTest>

#include "picture/picture_info.h"
#include "platform/dialog_seam.h"
#include "platform/desktop.h"
#include "platform/menu.h"
#include "platform/ui_fixture.h"
#include "resources/command_ids.h"
#include "support/bmp_writer.h"
#include "viewer/viewer_fixture.h"

using namespace viewer_test;
using platform::DialogId;
using Pages = std::vector<int>;

namespace {

const platform::Size P = kPortrait, L = kLandscape;

} // namespace

TEST_F(ViewerTest, PChoosesAPageInTheBookAndShowsIt) {
    openNormal({P, P, P, P, P, P});
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        EXPECT_EQ(platform::dialogTitle(dialog), "ページ指定");
        EXPECT_EQ(platform::rangeHigh(dialog, 1000), 5);
        platform::typeText(dialog, 1003, "3");
        platform::clickControl(dialog, platform::kOkId);
    });
    typeCharacter('p');
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_EQ(answerer.asked[0].resource, "POWER");
    EXPECT_EQ(title(), "04.bmp");
    answerer.asked.clear();
    // Typed beyond the last page, the last page; the menu's command the same.
    ui_test::DialogAnswerer beyond([](DialogId dialog) {
        EXPECT_EQ(platform::controlText(dialog, 1003), "3");
        platform::typeText(dialog, 1003, "500");
        platform::clickControl(dialog, platform::kOkId);
    });
    command(cmd::PageSelect);
    EXPECT_EQ(title(), "06.bmp");
}

TEST_F(ViewerTest, ThePageDialogStartsAtTheSpreadsFirstPageAndShowsTheChoiceAsASpread) {
    openTwoPage({P, P, P, P, P, P});
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        EXPECT_EQ(platform::controlText(dialog, 1003), "0");
        platform::clickControl(dialog, 1014); // preview
        platform::typeText(dialog, 1003, "2");
        ASSERT_TRUE(ui_test::waitFor([] { return viewer().pages.currentIndex == 3; }));
        platform::typeText(dialog, 1003, "4");
        platform::pressDialogButton(dialog, platform::MouseButton::Middle);
    });
    command(cmd::PageSelect);
    EXPECT_EQ(shownPages(), (Pages{4, 5}));
}

TEST_F(ViewerTest, NothingShownNoPageDialogNoInformationNoCopy) {
    start();
    ui_test::DialogAnswerer answerer;
    command(cmd::PageSelect);
    command(cmd::PictureInformation);
    command(cmd::Copy);
    EXPECT_TRUE(answerer.asked.empty());
}

TEST_F(ViewerTest, TheIntervalDialogStoresTheIntervalAndStartsTheSlideshow) {
    start();
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        EXPECT_EQ(platform::controlText(dialog, 1003), "300");
        platform::typeText(dialog, 1003, "50");
        platform::clickControl(dialog, platform::kOkId);
    });
    command(cmd::SlideshowInterval);
    EXPECT_EQ(v().settings.slidetime, 1000);
    EXPECT_TRUE(v().slideshowRunning);
    EXPECT_TRUE(platform::isMenuItemChecked(v().menu, cmd::Slideshow));
    EXPECT_TRUE(platform::hasTimer(v().mainWindow, cmd::SlideshowTimer));
}

TEST_F(ViewerTest, OptionsApplyAtOnceAndTurningReadAheadOffFreesItsPictures) {
    openTwoPage({P, P, P, P, P, P, P, P}, [](ViewerState& s) { s.sakiyomi = 1; });
    command(cmd::NextPage);
    ASSERT_TRUE(ui_test::waitFor([&] { return v().document.readAheadValid; }));
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        const std::vector<DialogId> pages = platform::dialogPages(dialog);
        platform::clickControl(pages[0], 1074); // read-ahead off
        platform::clickControl(pages[0], 1076); // folder name in the title
        platform::clickControl(dialog, platform::kOkId);
    });
    command(cmd::Options);
    EXPECT_EQ(v().settings.sakiyomi, 0);
    EXPECT_FALSE(v().document.readAheadValid);
    EXPECT_EQ(v().document.readAhead[0].headerBlock, nullptr);
    EXPECT_EQ(v().document.readAhead[1].headerBlock, nullptr);
    EXPECT_EQ(title(), "book1 04.bmp 03.bmp"); // repainted with the new option
}

TEST_F(ViewerTest, CancelledOptionsChangeNothingOnScreen) {
    openNormal({P, P});
    const ViewerState before = v().settings;
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        platform::clickControl(platform::dialogPages(dialog)[0], 1076);
        platform::clickControl(dialog, platform::kCancelId);
    });
    command(cmd::Options);
    EXPECT_EQ(v().settings.dispdirectory, before.dispdirectory);
    EXPECT_EQ(title(), "01.bmp");
}

TEST_F(ViewerTest, APictureInformationForASpreadPutsTheLeftPageInTheLeftBox) {
    openTwoPage({P, P, L}); // right binding: the first page is drawn on the right
    std::string left, right;
    ui_test::DialogAnswerer answerer([&](DialogId dialog) {
        left = platform::controlText(dialog, 1003);
        right = platform::controlText(dialog, 1004);
        platform::clickControl(dialog, platform::kOkId);
    });
    typeCharacter('a');
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_EQ(answerer.asked[0].resource, "INFOPICTUREDOUBLE");
    EXPECT_EQ(answerer.asked[0].opacity, v().settings.transparency);
    EXPECT_EQ(left.rfind("・ファイル名\r\n\t02.bmp\r\n", 0), 0u) << left;
    EXPECT_EQ(right.rfind("・ファイル名\r\n\t01.bmp\r\n", 0), 0u) << right;

    command(cmd::NextPage); // the landscape page alone
    answerer.asked.clear();
    command(cmd::PictureInformation);
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_EQ(answerer.asked[0].resource, "INFOPICTURE");
    EXPECT_NE(left.find("・画像情報\r\n\t80 x 60 24 bit\r\n"), std::string::npos) << left;
}

TEST_F(ViewerTest, APictureDeletedAfterLoadingStillGetsItsInformation) {
    openNormal({P, P}, [](ViewerState& s) { s.transparency = 255; });
    std::remove((v().pages.folder + "01.bmp").c_str());
    std::string text;
    ui_test::DialogAnswerer answerer([&](DialogId dialog) {
        text = platform::controlText(dialog, 1003);
        EXPECT_EQ(platform::dialogOpacity(dialog), 255);
        platform::clickControl(dialog, platform::kOkId);
    });
    command(cmd::PictureInformation);
    EXPECT_EQ(text, "・ファイル名\r\n\t01.bmp\r\n・場所\r\n\t" + v().pages.folder +
                        "\r\nファイル情報取得失敗\r\n" + pictureInfoText(v().document.main) +
                        "・現在のサイズ\r\n\t60 x 80\r\n");
}

TEST_F(ViewerTest, CopyPutsTheShownPictureOnTheClipboardAsABmpFile) {
    openNormal({P, L});
    command(cmd::NextFile);
    command(cmd::Copy);
    EXPECT_EQ(platform::clipboardBmp(), testing_support::makeBmp(80, 60, 24, 2));
}

TEST_F(ViewerTest, ATranslucentOpenDialogSitsNearTheMiddleOfTheWorkAreaAnOpaqueOneWhereItLikes) {
    start([](ViewerState& s) { s.transparency = 64; });
    command(cmd::Open);
    const platform::Rect work = platform::workArea();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].opacity, 64);
    EXPECT_EQ(boxes[0].position, (platform::Point{work.right / 2 - 300, work.bottom / 2 - 200}));
    command(cmd::Transparency0);
    command(cmd::Open);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].opacity, 255);
    EXPECT_EQ(boxes[1].position, std::nullopt);
}

TEST_F(ViewerTest, ThePluginInformationListsNothingWithoutPlugins) {
    start();
    std::vector<std::string> lines = {"?"};
    ui_test::DialogAnswerer answerer([&](DialogId dialog) {
        EXPECT_EQ(platform::dialogTitle(dialog), "Susie plug-in情報");
        lines = platform::items(dialog, 1038);
        platform::clickControl(dialog, platform::kOkId);
    });
    command(cmd::PluginInformation);
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_TRUE(lines.empty());
}
