// Template dialogs on the offscreen platform: building, the messages a
// procedure gets, control values by id, modal runs through the seam and for
// real, modeless dialogs, pages of a tab control.
#include "platform/dialog.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>
#include <iterator>

#include "platform/accelerator.h"
#include "platform/application.h"
#include "platform/dialog_seam.h"
#include "platform/dialog_units.h"
#include "platform/keys.h"
#include "platform/modal.h"
#include "platform/ui_fixture.h"
#include "platform/window_host.h"

using namespace platform;

namespace {

// Everything one dialog asked for: a search dialog of the catalog's kind.
constexpr ControlTemplate kSearchControls[] = {
    {1042, ControlKind::EditCombo, "", {7, 7, 150, 80}, 0},
    {1044, ControlKind::Button, "下へ検索", {165, 7, 50, 14}, kDefaultButton},
    {2, ControlKind::Button, "ｷｬﾝｾﾙ", {165, 25, 50, 14}, 0},
    {0, ControlKind::GroupBox, "オプション", {7, 25, 150, 40}, 0},
    {1014, ControlKind::CheckBox, "大文字小文字を区別する", {12, 36, 140, 10}, 0},
    {1018, ControlKind::RadioButton, "全ての項目", {12, 70, 60, 10}, 0},
    {1019, ControlKind::RadioButton, "テキスト項目", {12, 82, 60, 10}, 0},
    {1020, ControlKind::RadioButton, "指定項目", {12, 94, 60, 10}, 0},
    {1030, ControlKind::RadioButton, "上", {90, 70, 40, 10}, kGroupStart},
    {1031, ControlKind::RadioButton, "下", {90, 82, 40, 10}, 0},
    {1059, ControlKind::ComboBox, "", {12, 108, 100, 60}, 0},
    {1038, ControlKind::ListBox, "", {165, 45, 50, 40}, 0},
    {1039, ControlKind::ReportList, "項目名", {165, 90, 50, 40}, 0},
};
constexpr ControlTemplate kNumberControls[] = {
    {1000, ControlKind::Trackbar, "", {7, 7, 186, 18}, 0},
    {1003, ControlKind::Edit, "", {7, 32, 40, 13}, 0},
    {1008, ControlKind::UpDown, "", {47, 32, 10, 13}, kAutoBuddy | kArrowKeys},
    {1055, ControlKind::Edit, "", {60, 32, 20, 13}, kReadOnly},
    {1010, ControlKind::UpDown, "", {80, 32, 20, 13}, kHorizontal},
    {1, ControlKind::Button, "OK", {143, 31, 50, 14}, kDefaultButton},
    {1070, ControlKind::Progress, "", {7, 50, 186, 8}, kHidden},
    {1003 + 1, ControlKind::MultiLineEdit, "", {7, 60, 186, 30}, kReadOnly},
};
constexpr ControlTemplate kTabbedControls[] = {
    {1062, ControlKind::Tab, "", {7, 7, 216, 150}, 0},
    {1, ControlKind::Button, "OK", {117, 163, 50, 14}, kDefaultButton},
    {2, ControlKind::Button, "キャンセル", {173, 163, 50, 14}, kDisabled},
};
constexpr ControlTemplate kPageControls[] = {
    {1014, ControlKind::CheckBox, "オートスクロール", {7, 6, 120, 12}, 0},
};
constexpr DialogTemplate kTemplates[] = {
    {"TEST_SEARCH", "検索", 222, 130, kSearchControls, std::size(kSearchControls)},
    {"TEST_NUMBER", "ページ指定", 200, 95, kNumberControls, std::size(kNumberControls)},
    {"TEST_TABS", "環境設定", 230, 184, kTabbedControls, std::size(kTabbedControls)},
    {"TEST_PAGE", "", 210, 130, kPageControls, std::size(kPageControls)},
};

struct Seen {
    DialogId dialog = 0;
    DialogMessage message = DialogMessage::Init;
    DialogParams params;
    bool operator==(const Seen& other) const {
        return dialog == other.dialog && message == other.message &&
               params.id == other.params.id &&
               params.notification == other.params.notification &&
               params.button == other.params.button;
    }
};

std::vector<Seen>& seen() {
    static std::vector<Seen> record;
    return record;
}

std::function<void(DialogId, DialogMessage, const DialogParams&)>& reaction() {
    static std::function<void(DialogId, DialogMessage, const DialogParams&)> installed;
    return installed;
}

int recorder(DialogId dialog, DialogMessage message, const DialogParams& params) {
    seen().push_back({dialog, message, params});
    if (reaction()) reaction()(dialog, message, params);
    return 1;
}

// The commands the dialog got, as (id, notification) pairs.
std::vector<std::pair<int, Notification>> commandsOf(DialogId dialog) {
    std::vector<std::pair<int, Notification>> out;
    for (const Seen& s : seen())
        if (s.dialog == dialog && s.message == DialogMessage::Command)
            out.emplace_back(s.params.id, s.params.notification);
    return out;
}

// Runs `act` on the live dialog through the seam; returns runDialog's result.
int runWith(const char* name, const std::function<void(DialogId)>& act,
            std::vector<ModalRequest>* asked = nullptr) {
    ui_test::DialogAnswerer answerer(act);
    const int result = runDialog(name, 0, recorder);
    if (asked) *asked = answerer.asked;
    return result;
}

using Commands = std::vector<std::pair<int, Notification>>;

} // namespace

class Dialogs : public ui_test::UiTest {
protected:
    static void SetUpTestSuite() {
        UiTest::SetUpTestSuite();
        registerDialogTemplates(kTemplates);
    }
    void SetUp() override {
        UiTest::SetUp();
        seen().clear();
        reaction() = nullptr;
    }
    void TearDown() override {
        reaction() = nullptr;
        UiTest::TearDown();
    }
};

TEST_F(Dialogs, ControlsLieWhereTheirUnitsSayAndTheDialogIsItsTemplateSize) {
    runWith("TEST_SEARCH", [](DialogId dialog) {
        ASSERT_TRUE(isDialog(dialog));
        EXPECT_EQ(dialogName(dialog), "TEST_SEARCH");
        EXPECT_EQ(dialogTitle(dialog), "検索");
        QFontMetrics metrics(QApplication::font());
        const DialogBaseUnits base = baseUnitsOf(
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
            metrics.height());
        EXPECT_EQ(controlRect(dialog, 1044), unitsToPixels({165, 7, 50, 14}, base));
        EXPECT_EQ(controlRect(dialog, 1014), unitsToPixels({12, 36, 140, 10}, base));
        // A combo box is as high as its font wants, within its template height.
        const Rect combo = controlRect(dialog, 1042);
        EXPECT_EQ(combo.left, unitsToPixelsX(7, base));
        EXPECT_LT(combo.height(), unitsToPixelsY(80, base));
        const Rect frame = dialogRect(dialog);
        EXPECT_GE(frame.width(), unitsToPixelsX(222, base));
        EXPECT_FALSE(hasControl(dialog, 0)); // the group box is nobody's
        EXPECT_EQ(controlText(dialog, 1014), "大文字小文字を区別する");
    });
}

TEST_F(Dialogs, TheSeamGetsTheLiveDialogAndItsResultOrZeroWhenLeftOpen) {
    std::vector<ModalRequest> asked;
    reaction() = [](DialogId dialog, DialogMessage message, const DialogParams& params) {
        if (message == DialogMessage::Init) setDialogOpacity(dialog, 127);
        if (message == DialogMessage::Command && params.id == 1044) endDialog(dialog, 7);
    };
    EXPECT_EQ(runWith("TEST_SEARCH", [](DialogId dialog) { clickControl(dialog, 1044); }, &asked),
              7);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ModalKind::Dialog);
    EXPECT_EQ(asked[0].resource, "TEST_SEARCH");
    EXPECT_EQ(asked[0].caption, "検索");
    EXPECT_EQ(asked[0].opacity, 127);
    EXPECT_FALSE(isDialog(asked[0].dialog)); // gone once runDialog returns
    ASSERT_FALSE(seen().empty());
    EXPECT_EQ(seen().front().message, DialogMessage::Init);
    EXPECT_EQ(seen().back().message, DialogMessage::Destroy);

    seen().clear();
    EXPECT_EQ(runWith("TEST_SEARCH", [](DialogId) {}), 0);
    EXPECT_TRUE(commandsOf(seen().front().dialog).empty());
    EXPECT_EQ(runDialog("NO_SUCH_DIALOG", 0, recorder), -1);
}

TEST_F(Dialogs, ValuesSetByTheProcedureNotifyNobodyButEditsTheUsersActsNotify) {
    DialogId shown = 0;
    runWith("TEST_SEARCH", [&](DialogId dialog) {
        shown = dialog;
        addItem(dialog, 1059, "タイトル");
        addItem(dialog, 1059, "作者");
        setSelection(dialog, 1059, 1);
        setChecked(dialog, 1014, true);
        addItem(dialog, 1038, "a");
        setSelection(dialog, 1038, 0);
        setControlText(dialog, 1042, "abc"); // an edit field: this one tells
        EXPECT_EQ(commandsOf(dialog), (Commands{{1042, Notification::Changed}}));
        seen().clear();
        clickControl(dialog, 1014);
        chooseItem(dialog, 1059, 0);
        chooseItem(dialog, 1038, 0); // already chosen: nothing changes
        typeText(dialog, 1042, "xyz");
        clickControl(dialog, 1044);
        EXPECT_EQ(commandsOf(dialog), (Commands{{1014, Notification::Clicked},
                                                {1059, Notification::SelectionChanged},
                                                {1042, Notification::Changed},
                                                {1044, Notification::Clicked}}));
        EXPECT_FALSE(isChecked(dialog, 1014));
        EXPECT_EQ(selection(dialog, 1059), 0);
        EXPECT_EQ(controlText(dialog, 1042), "xyz");
        enableControl(dialog, 1044, false);
        seen().clear();
        clickControl(dialog, 1044); // a disabled button cannot be pressed
        EXPECT_TRUE(commandsOf(dialog).empty());
    });
    EXPECT_NE(shown, 0u);
}

TEST_F(Dialogs, RadioButtonsClearOnlyTheirOwnGroup) {
    runWith("TEST_SEARCH", [](DialogId dialog) {
        setChecked(dialog, 1018, true);
        setChecked(dialog, 1030, true);
        clickControl(dialog, 1020);
        EXPECT_FALSE(isChecked(dialog, 1018));
        EXPECT_TRUE(isChecked(dialog, 1020));
        EXPECT_TRUE(isChecked(dialog, 1030)); // another group
        clickControl(dialog, 1031);
        EXPECT_FALSE(isChecked(dialog, 1030));
        EXPECT_TRUE(isChecked(dialog, 1020));
        setChecked(dialog, 1020, false); // the procedure may leave a group unmarked
        EXPECT_FALSE(isChecked(dialog, 1018) || isChecked(dialog, 1019) ||
                     isChecked(dialog, 1020));
    });
}

TEST_F(Dialogs, ItemsKeepTheirOrderAndAComboKeepsItsChoiceAndTypedText) {
    runWith("TEST_SEARCH", [](DialogId dialog) {
        typeText(dialog, 1042, "今の検索");
        EXPECT_EQ(addItem(dialog, 1042, "古い"), 0);
        addItem(dialog, 1042, "新しい");
        EXPECT_EQ(controlText(dialog, 1042), "今の検索");
        EXPECT_EQ(selection(dialog, 1042), -1);
        addItem(dialog, 1059, "only");
        EXPECT_EQ(selection(dialog, 1059), -1); // adding chooses nothing
        // Inserted where asked, never sorted: the plug-in list's order.
        addItem(dialog, 1038, "image A");
        insertItem(dialog, 1038, 0, "archive B");
        insertItem(dialog, 1038, 99, "image C");
        EXPECT_EQ(items(dialog, 1038),
                  (std::vector<std::string>{"archive B", "image A", "image C"}));
        EXPECT_EQ(selection(dialog, 1038), -1);
        insertItem(dialog, 1039, 0, "作者");
        insertItem(dialog, 1039, 0, "タイトル");
        EXPECT_EQ(items(dialog, 1039), (std::vector<std::string>{"タイトル", "作者"}));
        chooseItem(dialog, 1039, 1);
        EXPECT_EQ(selection(dialog, 1039), 1);
        setSelection(dialog, 1039, -1);
        EXPECT_EQ(selection(dialog, 1039), -1);
        clearItems(dialog, 1038);
        EXPECT_TRUE(items(dialog, 1038).empty());
    });
}

TEST_F(Dialogs, TrackbarUpDownAndBuddyEdit) {
    runWith("TEST_NUMBER", [](DialogId dialog) {
        setRange(dialog, 1000, 0, 119);
        setTrackbarPage(dialog, 1000, 10);
        setPosition(dialog, 1000, 500);
        EXPECT_EQ(position(dialog, 1000), 119); // clamped
        EXPECT_EQ(trackbarPage(dialog, 1000), 10);
        setRange(dialog, 1008, 0, 119);
        setPosition(dialog, 1008, 7);
        EXPECT_EQ(controlText(dialog, 1003), "7"); // the auto buddy shows it
        seen().clear();
        stepUpDown(dialog, 1008, 1);
        EXPECT_EQ(controlText(dialog, 1003), "8");
        EXPECT_EQ(commandsOf(dialog), (Commands{{1003, Notification::Changed},
                                                {1008, Notification::Changed}}));
        typeText(dialog, 1003, "118"); // the arrows start from the typed number
        stepUpDown(dialog, 1008, 5);
        EXPECT_EQ(controlText(dialog, 1003), "119");
        focusControl(dialog, 1003);
        pressDialogKey(dialog, key::Down);
        EXPECT_EQ(controlText(dialog, 1003), "118");
        EXPECT_EQ(position(dialog, 1008), 118);
        // A horizontal up-down without a buddy until it is given one, here a
        // read-only edit, as the record dialog's page box.
        setRange(dialog, 1010, 1, 2);
        stepUpDown(dialog, 1010, 1);
        EXPECT_EQ(position(dialog, 1010), 2);
        setUpDownBuddy(dialog, 1010, 1055);
        stepUpDown(dialog, 1010, -3);
        EXPECT_EQ(controlText(dialog, 1055), "1");
        // Typed text the user cannot type: the read-only box keeps its number.
        typeText(dialog, 1055, "9");
        EXPECT_EQ(controlText(dialog, 1055), "1");
        // A range given high end first steps the other way.
        setRange(dialog, 1008, 10, 0);
        setPosition(dialog, 1008, 5);
        stepUpDown(dialog, 1008, 1);
        EXPECT_EQ(controlText(dialog, 1003), "4");
        setRange(dialog, 1070, 0, 10);
        setPosition(dialog, 1070, 4);
        EXPECT_EQ(position(dialog, 1070), 4);
        EXPECT_FALSE(isControlShown(dialog, 1070));
        showControl(dialog, 1070, true);
        EXPECT_TRUE(isControlShown(dialog, 1070));
    });
}

TEST_F(Dialogs, NumbersAreReadFromTheFirstCharactersLikeAtoi) {
    runWith("TEST_NUMBER", [](DialogId dialog) {
        const std::pair<const char*, int> cases[] = {
            {"500", 500}, {"12345", 1234}, {" -12x", -12}, {"  -12", -1}, {"abc", 0},
            {"", 0},      {"５", 0},       {"+7", 7},       {"1 2", 1},
        };
        for (const auto& [text, number] : cases) {
            setControlText(dialog, 1003, text);
            EXPECT_EQ(controlNumber(dialog, 1003, 4), number) << text;
        }
        setControlText(dialog, 1003, "99999999999999");
        EXPECT_EQ(controlNumber(dialog, 1003, 100), 2147483647);
    });
}

TEST_F(Dialogs, MultiLineEditsKeepTheirLineBreaks) {
    runWith("TEST_NUMBER", [](DialogId dialog) {
        const std::string text = "・ファイル名\r\n\t01.bmp\r\n・場所\r\n";
        setControlText(dialog, 1004, text);
        EXPECT_EQ(controlText(dialog, 1004), text);
    });
}

TEST_F(Dialogs, ReturnPressesTheDefaultButtonEscapeAndCloseAskToCancel) {
    runWith("TEST_NUMBER", [](DialogId dialog) {
        focusControl(dialog, 1003);
        pressDialogKey(dialog, key::Return);
        pressDialogKey(dialog, key::Escape);
        closeDialogWindow(dialog);
        EXPECT_EQ(commandsOf(dialog), (Commands{{1, Notification::Clicked},
                                                {kCancelId, Notification::Clicked},
                                                {kCancelId, Notification::Clicked}}));
        // Nobody ended it: it is still there.
        EXPECT_TRUE(isDialogVisible(dialog));
        pressDialogButton(dialog, MouseButton::Middle);
        ASSERT_EQ(seen().back().message, DialogMessage::ButtonDown);
        EXPECT_EQ(seen().back().params.button, MouseButton::Middle);
    });
}

TEST_F(Dialogs, TimersTickUntilKilled) {
    runWith("TEST_NUMBER", [](DialogId dialog) {
        int ticks = 0;
        reaction() = [&](DialogId, DialogMessage message, const DialogParams& params) {
            if (message == DialogMessage::Timer && params.id == 5) ++ticks;
        };
        setDialogTimer(dialog, 5, 1);
        EXPECT_TRUE(ui_test::waitFor([&] { return ticks >= 2; }));
        killDialogTimer(dialog, 5);
        const int atKill = ticks;
        setDialogTimer(dialog, 6, 1);
        EXPECT_TRUE(ui_test::waitFor([&] {
            return std::count_if(seen().begin(), seen().end(), [](const Seen& s) {
                       return s.message == DialogMessage::Timer && s.params.id == 6;
                   }) >= 2;
        }));
        EXPECT_EQ(ticks, atKill);
        reaction() = nullptr;
    });
}

TEST_F(Dialogs, TabPagesFillTheDisplayAreaAndGoWithTheirParent) {
    DialogId parent = 0, page = 0;
    runWith("TEST_TABS", [&](DialogId dialog) {
        parent = dialog;
        addItem(dialog, 1062, "全般");
        addItem(dialog, 1062, "標準モード");
        page = createPageDialog(dialog, 1062, "TEST_PAGE", recorder);
        ASSERT_NE(page, 0u);
        EXPECT_EQ(dialogPages(dialog), std::vector<DialogId>{page});
        EXPECT_EQ(dialogRect(page), tabDisplayArea(dialog, 1062));
        const Rect tab = controlRect(dialog, 1062);
        const Rect area = tabDisplayArea(dialog, 1062);
        EXPECT_GT(area.top, tab.top); // under the tabs
        EXPECT_LE(area.bottom, tab.bottom);
        EXPECT_FALSE(isDialogVisible(page));
        showDialog(page, true);
        EXPECT_TRUE(isDialogVisible(page));
        seen().clear();
        chooseItem(dialog, 1062, 1);
        EXPECT_EQ(selection(dialog, 1062), 1);
        sendDialogCommand(page, kOkId);
        EXPECT_EQ(commandsOf(dialog), (Commands{{1062, Notification::SelectionChanged}}));
        EXPECT_EQ(commandsOf(page), (Commands{{kOkId, Notification::Clicked}}));
        EXPECT_FALSE(isControlEnabled(dialog, 2));
        EXPECT_EQ(createPageDialog(dialog, 1, "TEST_PAGE", recorder), 0u); // not a tab
    });
    EXPECT_FALSE(isDialog(page));
    std::vector<DialogId> destroyed;
    for (const Seen& s : seen())
        if (s.message == DialogMessage::Destroy) destroyed.push_back(s.dialog);
    EXPECT_EQ(destroyed, (std::vector<DialogId>{parent, page}));
}

TEST_F(Dialogs, TheRealModalLoopEndsOnlyByEndDialog) {
    reaction() = [](DialogId dialog, DialogMessage message, const DialogParams& params) {
        if (message == DialogMessage::Command && params.id == 1) endDialog(dialog, 1);
    };
    bool stayedAfterEscape = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        QTest::keyClick(dialog, Qt::Key_Escape); // the procedure ignores cancel
        stayedAfterEscape = dialog->isVisible();
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(runDialog("TEST_NUMBER", 0, recorder), 1);
    EXPECT_TRUE(stayedAfterEscape);
}

TEST_F(Dialogs, AModelessDialogTakesItsKeysAndGoesWithItsOwner) {
    const WindowId owner = topLevel(rectAt(10, 10, 300, 200));
    reaction() = [](DialogId dialog, DialogMessage message, const DialogParams& params) {
        if (message == DialogMessage::Command && params.id == kCancelId) destroyDialog(dialog);
    };
    DialogId dialog = createDialog("TEST_SEARCH", owner, recorder);
    ASSERT_NE(dialog, 0u);
    EXPECT_TRUE(isDialogVisible(dialog));
    focusControl(dialog, 1042);
    pressDialogKey(dialog, 'A');
    EXPECT_EQ(controlText(dialog, 1042), "a");
    pressDialogKey(dialog, key::Return); // the default button
    EXPECT_EQ(commandsOf(dialog).back(), (std::pair{1044, Notification::Clicked}));
    pressDialogKey(dialog, key::Escape);
    EXPECT_FALSE(isDialog(dialog));

    // The owner's accelerators act from a modeless dialog, not from a modal one.
    static constexpr AcceleratorEntry kEntries[] = {{'1', kControlHeld, 40093}};
    static constexpr AcceleratorTable kTable{"TEST", kEntries, std::size(kEntries)};
    setAccelerators(owner, &kTable);
    dialog = createDialog("TEST_SEARCH", owner, recorder);
    focusControl(dialog, 1042);
    pressDialogKey(dialog, '1', kControlHeld);
    ASSERT_EQ(ui_test::messagesOf(owner, MessageKind::Command).size(), 1u);
    EXPECT_EQ(ui_test::messagesOf(owner, MessageKind::Command)[0].params.id, 40093);
    runWith("TEST_NUMBER", [](DialogId modal) { pressDialogKey(modal, '1', kControlHeld); });
    EXPECT_EQ(ui_test::messagesOf(owner, MessageKind::Command).size(), 1u);
    setAccelerators(0, nullptr);
    destroyWindow(owner);
    platform::processPendingMessages();
    EXPECT_FALSE(isDialog(dialog));
    EXPECT_EQ(seen().back().message, DialogMessage::Destroy);
    EXPECT_EQ(seen().back().dialog, dialog);
}

TEST_F(Dialogs, DestroyingADialogFromItsOwnDestroyMessageEndsOnce) {
    reaction() = [](DialogId dialog, DialogMessage message, const DialogParams&) {
        if (message == DialogMessage::Destroy) destroyDialog(dialog);
    };
    const DialogId dialog = createDialog("TEST_SEARCH", 0, recorder);
    EXPECT_EQ(destroyDialog(dialog), 1);
    EXPECT_FALSE(isDialog(dialog));
    EXPECT_EQ(std::count_if(seen().begin(), seen().end(),
                            [](const Seen& s) { return s.message == DialogMessage::Destroy; }),
              1);
}

TEST_F(Dialogs, TitleOpacityAndPlaceFollowTheCalls) {
    runWith("TEST_NUMBER", [](DialogId dialog) {
        setDialogTitle(dialog, "スライドショー間隔（単位10m秒)");
        EXPECT_EQ(dialogTitle(dialog), "スライドショー間隔（単位10m秒)");
        EXPECT_EQ(dialogOpacity(dialog), 255);
        setDialogOpacity(dialog, 64);
        EXPECT_EQ(dialogOpacity(dialog), 64);
        moveDialog(dialog, {120, 80});
        EXPECT_EQ(dialogRect(dialog).left, 120);
        EXPECT_EQ(dialogRect(dialog).top, 80);
    });
}
