// The picture information dialogs through the real dialogs: which template,
// which text in which box, translucency, and how they end.
#include "picture/picture_info_dialog.h"

#include "picture/picture_info.h"
#include "picture_fixture.h"
#include "platform/dialog_seam.h"
#include "platform/keys.h"
#include "resources/dialog_fixture.h"
#include "support/bmp_writer.h"
#include "support/temp_folder.h"

using namespace platform;

class PictureInfoDialog : public ui_test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        for (auto [picture, bits] : {std::pair{&first, 24}, std::pair{&second, 8}}) {
            const testing_support::Dib dib = testing_support::makeDib(60, 80, bits);
            const BlockPair blocks = blocksOf(dib.header, dib.bits);
            picture->attach(blocks.header, blocks.bits);
        }
        testing_support::writeFile(temp / "01.bmp", "x");
        pages.folder = temp.path();
        pages.entries = {"01.bmp", "02.bmp"};
    }
    testing_support::TempFolder temp;
    PageList pages{temp.path()};
    PictureBuffer first, second;
};

TEST_F(PictureInfoDialog, OnePageFillsTheSingleBoxWithItsThreeTexts) {
    const ShownPage page{0, &first, 120, 160, 0};
    const std::string expected = fileInfoText(pages, 0) + pictureInfoText(first) +
                                 "・現在のサイズ\r\n\t120 x 160\r\n";
    EXPECT_EQ(pageInfoText(pages, page), expected);
    std::string shown;
    ui_test::DialogAnswerer answerer([&](DialogId dialog) {
        shown = controlText(dialog, 1003);
        EXPECT_EQ(dialogTitle(dialog), "画像情報");
        EXPECT_EQ(dialogOpacity(dialog), 127);
        clickControl(dialog, kOkId);
    });
    showPictureInformation(0, pages, std::span(&page, 1), 127);
    EXPECT_EQ(shown, expected);
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_EQ(answerer.asked[0].resource, "INFOPICTURE");
}

TEST_F(PictureInfoDialog, ASpreadPutsThePageDrawnFurtherLeftInTheLeftBox) {
    for (bool firstOnTheRight : {false, true}) {
        const ShownPage spread[] = {{0, &first, 60, 80, firstOnTheRight ? 300 : 0},
                                    {1, &second, 60, 80, firstOnTheRight ? 0 : 300}};
        std::string left, right;
        ui_test::DialogAnswerer answerer([&](DialogId dialog) {
            left = controlText(dialog, 1003);
            right = controlText(dialog, 1004);
            EXPECT_EQ(dialogOpacity(dialog), 255);
            pressDialogKey(dialog, key::Escape); // closing ends it too
        });
        showPictureInformation(0, pages, spread, 255);
        ASSERT_EQ(answerer.asked.size(), 1u);
        EXPECT_EQ(answerer.asked[0].resource, "INFOPICTUREDOUBLE");
        const std::string firstText = pageInfoText(pages, spread[0]);
        const std::string secondText = pageInfoText(pages, spread[1]);
        EXPECT_NE(firstText, secondText);
        EXPECT_EQ(left, firstOnTheRight ? secondText : firstText);
        EXPECT_EQ(right, firstOnTheRight ? firstText : secondText);
    }
}

TEST_F(PictureInfoDialog, NoShownPageNoDialog) {
    ui_test::DialogAnswerer answerer;
    showPictureInformation(0, pages, {}, 255);
    EXPECT_TRUE(answerer.asked.empty());
}
