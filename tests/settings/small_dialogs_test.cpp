// The page-number and slideshow-interval dialogs through the real dialog on
// the offscreen platform.
#include "settings/small_dialogs.h"

#include <QCursor>

#include "platform/dialog_seam.h"
#include "platform/keys.h"
#include "resources/dialog_fixture.h"
#include "settings/settings_file.h"

using namespace platform;

namespace {

// What the page-number dialog asked the viewer to do.
std::vector<int>& shownPages() {
    static std::vector<int> shown;
    return shown;
}
int repaints = 0;

PageNumberRequest book(int pageCount, int currentIndex, bool spread = false) {
    PageNumberRequest request;
    request.pageCount = pageCount;
    request.currentIndex = currentIndex;
    request.spread = spread;
    request.showPage = [](int page) { shownPages().push_back(page); };
    request.repaint = [] { ++repaints; };
    return request;
}

int shownCount() {
    return static_cast<int>(shownPages().size());
}

} // namespace

class SmallDialogs : public ui_test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        shownPages().clear();
        repaints = 0;
    }
};

TEST(StartingPage, TheCurrentPageOrTheSpreadsFirstWhichWrapsToTheLast) {
    EXPECT_EQ(startingPage(5, 10, false), 5);
    EXPECT_EQ(startingPage(1, 10, true), 0); // the spread of pages 0 and 1
    EXPECT_EQ(startingPage(0, 10, true), 9); // the spread of the last and the first page
}

TEST_F(SmallDialogs, ThePageNumberDialogOpensAtTheCursorWithTheBooksRange) {
    QCursor::setPos(150, 20);
    PageNumberRequest request = book(120, 1, true);
    request.transparency = 191;
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        EXPECT_EQ(dialogTitle(dialog), "ページ指定");
        EXPECT_EQ(rangeLow(dialog, 1000), 0);
        EXPECT_EQ(rangeHigh(dialog, 1000), 119);
        EXPECT_EQ(trackbarPage(dialog, 1000), 10); // 120 / 12
        EXPECT_EQ(position(dialog, 1000), 0);
        EXPECT_EQ(controlText(dialog, 1003), "0");
        EXPECT_EQ(rangeHigh(dialog, 1008), 119);
        EXPECT_TRUE(isControlShown(dialog, 1014));
        EXPECT_FALSE(isChecked(dialog, 1014));
        EXPECT_EQ(dialogOpacity(dialog), 191);
        const Rect at = dialogRect(dialog);
        EXPECT_EQ(at.left, 50);
        EXPECT_EQ(at.top, 0); // 50 up from y 20, kept on the screen
        clickControl(dialog, kOkId);
    });
    EXPECT_EQ(runPageNumberDialog(request), 0);
    EXPECT_EQ(shownPages(), std::vector<int>{0});
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_EQ(answerer.asked[0].resource, "POWER");
    EXPECT_EQ(answerer.asked[0].opacity, 191);
}

TEST_F(SmallDialogs, TypedPagesAreClampedAndTextThatIsNoNumberReadsAsZero) {
    const std::pair<const char*, int> cases[] = {
        {"500", 119}, {"12345", 119}, {"abc", 0}, {"-5", 0}, {"", 0}, {"7", 7}, {"１", 0},
    };
    for (const auto& [typed, page] : cases) {
        shownPages().clear();
        const std::string text = typed;
        ui_test::DialogAnswerer answerer([&](DialogId dialog) {
            typeText(dialog, 1003, text);
            clickControl(dialog, kOkId);
        });
        EXPECT_EQ(runPageNumberDialog(book(120, 3)), page) << typed;
        EXPECT_EQ(shownPages(), std::vector<int>{page}) << typed;
    }
}

TEST_F(SmallDialogs, ANumberTypedOverTheStartingPageAndReturnChooseThePage) {
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        pressDialogKey(dialog, '1');
        pressDialogKey(dialog, '2');
        pressDialogKey(dialog, key::Return);
    });
    EXPECT_EQ(runPageNumberDialog(book(50, 30)), 12);
}

TEST_F(SmallDialogs, TheTrackbarAndTheEditFollowEachOther) {
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        moveTrackbar(dialog, 1000, 42);
        EXPECT_EQ(controlText(dialog, 1003), "42");
        typeText(dialog, 1003, "17");
        EXPECT_EQ(position(dialog, 1000), 17);
        stepUpDown(dialog, 1008, 1);
        EXPECT_EQ(controlText(dialog, 1003), "18");
        EXPECT_EQ(position(dialog, 1000), 18);
        typeText(dialog, 1003, "0018"); // the same number: the edit keeps its text
        moveTrackbar(dialog, 1000, 18);
        EXPECT_EQ(controlText(dialog, 1003), "0018");
        pressDialogButton(dialog, MouseButton::Middle);
    });
    EXPECT_EQ(runPageNumberDialog(book(50, 9)), 18);
    EXPECT_TRUE(answerer.asked.size() == 1);
}

TEST_F(SmallDialogs, ThePreviewFollowsTheTypingOnceItPauses) {
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        typeText(dialog, 1003, "4"); // preview off: nothing
        clickControl(dialog, 1014);  // on: the edit's number, after the pause
        EXPECT_EQ(shownCount(), 0);
        EXPECT_TRUE(ui_test::waitFor([] { return shownCount() == 1; }));
        EXPECT_EQ(shownPages().back(), 4);
        typeText(dialog, 1003, "2");
        typeText(dialog, 1003, "25"); // one preview for the whole typing
        EXPECT_EQ(shownCount(), 1);
        EXPECT_TRUE(ui_test::waitFor([] { return shownCount() == 2; }));
        EXPECT_EQ(shownPages().back(), 25);
        typeText(dialog, 1003, "900"); // clamped like OK
        EXPECT_TRUE(ui_test::waitFor([] { return shownCount() == 3; }));
        EXPECT_EQ(shownPages().back(), 29);
        clickControl(dialog, 1014); // off: the picture is repainted
        EXPECT_EQ(repaints, 1);
        pressDialogButton(dialog, MouseButton::Left); // not a button that chooses
        pressDialogKey(dialog, key::Escape);          // no cancel
        closeDialogWindow(dialog);
        EXPECT_TRUE(isDialogVisible(dialog));
        pressDialogButton(dialog, MouseButton::Extra2);
    });
    EXPECT_EQ(runPageNumberDialog(book(30, 0)), 29);
    EXPECT_EQ(shownPages().back(), 29);
}

TEST_F(SmallDialogs, WithoutPagesThereIsNoDialogAndLeftOpenItChoosesNothing) {
    {
        ui_test::DialogAnswerer answerer;
        EXPECT_EQ(runPageNumberDialog(book(0, 0)), -1);
        EXPECT_TRUE(answerer.asked.empty());
    }
    ui_test::DialogAnswerer answerer([](DialogId dialog) { typeText(dialog, 1003, "3"); });
    EXPECT_EQ(runPageNumberDialog(book(5, 0)), -1);
    EXPECT_TRUE(shownPages().empty());
}

TEST_F(SmallDialogs, TheIntervalDialogShowsTensOfMillisecondsAndStoresTheClampedChoice) {
    QCursor::setPos(20, 300);
    const std::pair<const char*, int> cases[] = {
        {"50", 1000}, {"5000", 30000}, {"250", 2500}, {"x", 1000}, {"30001", 30000},
    };
    for (const auto& [typed, slidetime] : cases) {
        ViewerState state;
        startupDefaults(state);
        state.transparency = 255;
        const std::string text = typed;
        ui_test::DialogAnswerer answerer([&](DialogId dialog) {
            EXPECT_EQ(dialogTitle(dialog), "スライドショー間隔（単位10m秒)");
            EXPECT_FALSE(isControlShown(dialog, 1014));
            EXPECT_EQ(rangeLow(dialog, 1000), 100);
            EXPECT_EQ(rangeHigh(dialog, 1000), 3000);
            EXPECT_EQ(trackbarPage(dialog, 1000), 250);
            EXPECT_EQ(position(dialog, 1000), 300);
            EXPECT_EQ(controlText(dialog, 1003), "300");
            EXPECT_EQ(rangeHigh(dialog, 1008), 3000);
            EXPECT_EQ(dialogOpacity(dialog), 255);
            EXPECT_EQ(dialogRect(dialog).left, 0);
            EXPECT_EQ(dialogRect(dialog).top, 250);
            typeText(dialog, 1003, text);
            clickControl(dialog, kOkId);
        });
        EXPECT_EQ(runSlideshowIntervalDialog(0, state), 1) << typed;
        EXPECT_EQ(state.slidetime, slidetime) << typed;
    }
}

TEST_F(SmallDialogs, TheIntervalTrackbarWritesTheEditAndClosingDoesNotStore) {
    ViewerState state;
    startupDefaults(state);
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        moveTrackbar(dialog, 1000, 1500);
        EXPECT_EQ(controlText(dialog, 1003), "1500");
        pressDialogKey(dialog, key::Escape);
        closeDialogWindow(dialog);
    });
    EXPECT_EQ(runSlideshowIntervalDialog(0, state), 0);
    EXPECT_EQ(state.slidetime, 3000);
}
