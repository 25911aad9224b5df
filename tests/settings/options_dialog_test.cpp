// The options dialog through the real dialog on the offscreen platform:
// what each control shows, and what OK and cancel leave in the settings.
#include "settings/options_dialog.h"

#include "platform/dialog_seam.h"
#include "platform/keys.h"
#include "resources/dialog_fixture.h"
#include "settings/settings_file.h"

using namespace platform;

namespace {

constexpr int kGeneral = 0, kNormal = 1, kTwoPage = 2;

const std::vector<std::string> kEnlarge = {"近傍点", "線形"};
const std::vector<std::string> kReduce = {"近傍点", "線形", "平均1", "平均2(高精度)"};

// The settings with every flag the other way round from the defaults.
ViewerState turned() {
    ViewerState state;
    startupDefaults(state);
    state.synchro = 1;
    state.rotmove = 1;
    state.dblmode = 0;
    state.savefilter = 1;
    state.use24bit = 1;
    state.modesizech = 1;
    state.sakiyomi = 1;
    state.dispdirectory = 1;
    ModeSettings& normal = state.modes[kNormalMode];
    normal.autoscroll = 0;
    normal.automenu = 1;
    normal.hidecursor = 1;
    normal.engine = 0;
    normal.kakudai = 0;
    normal.syukusyou = 3;
    normal.kakusyuku = 0;
    ModeSettings& twoPage = state.modes[kTwoPageMode];
    twoPage.autoscroll = 1; // not the dialog's to show: two-page mode never scrolls
    twoPage.automenu = 0;
    twoPage.clickpage = 1;
    twoPage.engine = 1;
    twoPage.syukusyou = 1;
    return state;
}

bool sameSettings(const ViewerState& a, const ViewerState& b) {
    auto modeEqual = [](const ModeSettings& x, const ModeSettings& y) {
        return x.autoscroll == y.autoscroll && x.hidecursor == y.hidecursor &&
               x.automenu == y.automenu && x.clickpage == y.clickpage && x.engine == y.engine &&
               x.kakudai == y.kakudai && x.syukusyou == y.syukusyou &&
               x.kakusyuku == y.kakusyuku && x.FILTER == y.FILTER && x.TRANSFORM == y.TRANSFORM;
    };
    return a.synchro == b.synchro && a.rotmove == b.rotmove && a.dblmode == b.dblmode &&
           a.savefilter == b.savefilter && a.use24bit == b.use24bit &&
           a.modesizech == b.modesizech && a.sakiyomi == b.sakiyomi &&
           a.dispdirectory == b.dispdirectory && modeEqual(a.modes[0], b.modes[0]) &&
           modeEqual(a.modes[1], b.modes[1]);
}

// Every control the user can change, changed.
void changeEverything(DialogId dialog) {
    const std::vector<DialogId> pages = dialogPages(dialog);
    for (int id : {1014, 1056, 1057, 1058, 1061, 1066, 1074, 1076})
        clickControl(pages[kGeneral], id);
    for (int mode : {kNormal, kTwoPage}) {
        for (int id : {1014, 1056, 1057, 1058})
            clickControl(pages[mode], id);
        clickControl(pages[mode], isChecked(pages[mode], 1018) ? 1019 : 1018);
        chooseItem(pages[mode], 1042, 1 - selection(pages[mode], 1042));
        chooseItem(pages[mode], 1059, (selection(pages[mode], 1059) + 1) % 4);
        chooseItem(pages[mode], 1043, 1 - selection(pages[mode], 1043));
    }
}

} // namespace

class OptionsDialog : public ui_test::DialogTest {};

TEST_F(OptionsDialog, EachControlShowsTheSettingsAndOnlyTheFirstPageIsShown) {
    ViewerState state = turned();
    state.dblmode = 2; // a flag is on only at 1
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        EXPECT_EQ(dialogTitle(dialog), "環境設定");
        EXPECT_EQ(items(dialog, 1062),
                  (std::vector<std::string>{"全般", "標準モード", "見開きモード"}));
        const std::vector<DialogId> pages = dialogPages(dialog);
        ASSERT_EQ(pages.size(), 3u);
        EXPECT_EQ(dialogName(pages[kGeneral]), "TAB_OPTION");
        EXPECT_EQ(dialogName(pages[kTwoPage]), "TAB_MIHIRAKI");
        EXPECT_TRUE(isDialogVisible(pages[kGeneral]));
        EXPECT_FALSE(isDialogVisible(pages[kNormal]) || isDialogVisible(pages[kTwoPage]));
        EXPECT_EQ(dialogRect(pages[kNormal]), tabDisplayArea(dialog, 1062));

        const DialogId general = pages[kGeneral];
        for (int id : {1014, 1056, 1058, 1061, 1066, 1074, 1076})
            EXPECT_TRUE(isChecked(general, id)) << id;
        EXPECT_FALSE(isChecked(general, 1057)); // dblmode 2
        EXPECT_EQ(controlText(general, 1061), "画像を内部で24bitに変換する");

        const DialogId normal = pages[kNormal];
        EXPECT_FALSE(isChecked(normal, 1014));
        EXPECT_TRUE(isChecked(normal, 1056) && isChecked(normal, 1057));
        EXPECT_FALSE(hasControl(normal, 1058)); // "クリックで前後の画像" is two-page only
        EXPECT_TRUE(isChecked(normal, 1018));   // "Windows任せ"
        EXPECT_FALSE(isChecked(normal, 1019));
        EXPECT_EQ(items(normal, 1042), kEnlarge);
        EXPECT_EQ(items(normal, 1059), kReduce);
        EXPECT_EQ(items(normal, 1043), kEnlarge);
        EXPECT_EQ(selection(normal, 1042), 0);
        EXPECT_EQ(selection(normal, 1059), 3);
        EXPECT_EQ(selection(normal, 1043), 0);

        const DialogId twoPage = pages[kTwoPage];
        EXPECT_FALSE(isControlEnabled(twoPage, 1014));
        EXPECT_FALSE(isChecked(twoPage, 1014));
        EXPECT_TRUE(isChecked(twoPage, 1058));
        EXPECT_FALSE(isChecked(twoPage, 1056));
        EXPECT_TRUE(isChecked(twoPage, 1019)); // "内部で処理"
        EXPECT_EQ(selection(twoPage, 1059), 1);

        chooseItem(dialog, 1062, kTwoPage);
        EXPECT_TRUE(isDialogVisible(twoPage));
        EXPECT_FALSE(isDialogVisible(general) || isDialogVisible(normal));
        clickControl(dialog, 2);
    });
    EXPECT_EQ(runOptionsDialog(0, state), 0);
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_EQ(answerer.asked[0].resource, "OPTION");
}

TEST_F(OptionsDialog, OkStoresEveryControlAndTwoPageModeNeverScrolls) {
    ViewerState state = turned();
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        changeEverything(dialog);
        clickControl(dialog, 1);
    });
    ASSERT_EQ(runOptionsDialog(0, state), 1);
    ViewerState expected;
    startupDefaults(expected);
    expected.synchro = 0;
    expected.rotmove = 0;
    expected.dblmode = 1;
    expected.savefilter = 0;
    expected.use24bit = 0;
    expected.modesizech = 0;
    expected.sakiyomi = 0;
    expected.dispdirectory = 0;
    ModeSettings& normal = expected.modes[kNormalMode];
    normal = {1, 0, 0, 0, 1, 1, 0, 1, 0, 0};
    ModeSettings& twoPage = expected.modes[kTwoPageMode];
    twoPage = {0, 1, 1, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_TRUE(sameSettings(state, expected));
    EXPECT_EQ(state.modes[kTwoPageMode].autoscroll, 0);
    EXPECT_EQ(state.modes[kNormalMode].clickpage, 0);
}

TEST_F(OptionsDialog, CancelOrClosingAfterChangingEverythingLeavesTheSettings) {
    for (int ending : {0, 1, 2}) {
        ViewerState state = turned();
        const ViewerState before = state;
        ui_test::DialogAnswerer answerer([ending](DialogId dialog) {
            changeEverything(dialog);
            if (ending == 0) clickControl(dialog, 2);
            if (ending == 1) closeDialogWindow(dialog);
            if (ending == 2) pressDialogKey(dialog, key::Escape);
        });
        EXPECT_EQ(runOptionsDialog(0, state), 0) << ending;
        EXPECT_TRUE(sameSettings(state, before)) << ending;
    }
}

TEST_F(OptionsDialog, AnEngineNoNameStandsForIsKeptNotStoredAsNone) {
    ViewerState state = turned();
    state.modes[kNormalMode].syukusyou = 9;
    ui_test::DialogAnswerer answerer([](DialogId dialog) {
        EXPECT_EQ(selection(dialogPages(dialog)[kNormal], 1059), -1);
        clickControl(dialog, 1);
    });
    ASSERT_EQ(runOptionsDialog(0, state), 1);
    EXPECT_EQ(state.modes[kNormalMode].syukusyou, 9);
}
