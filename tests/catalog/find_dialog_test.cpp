// The find and replace dialogs through their real controls over a real
// catalog window.
#include "catalog/find_dialog.h"

#include <QApplication>
#include <QDialog>

#include "catalog/catalog_window_fixture.h"
#include "platform/application.h"
#include "platform/dialog_seam.h"
#include "platform/keys.h"
#include "resources/catalog_ids.h"

using namespace catalog_test;
using platform::DialogId;
using Texts = std::vector<std::string>;

namespace {

class FindDialogTest : public CatalogWindowTest {
protected:
    void SetUp() override {
        CatalogWindowTest::SetUp();
        fill({kColumnTitle, kColumnLocation},
             {{"始め", ""}, {"xABCx", ""}, {"カナ", ""}, {"a?b", ""}, {"ｶﾞｲﾄﾞ", ""}});
    }

    // Searches from row `from` (-1: nothing selected); the row selected after.
    int search(DialogId dialog, const std::string& text, int from, int button = 1044) {
        select(from >= 0 ? std::vector<int>{from} : std::vector<int>{});
        platform::typeText(dialog, 1042, text);
        platform::clickControl(dialog, button);
        platform::processPendingMessages();
        std::vector<int> rows = selected();
        EXPECT_LE(rows.size(), 1u);
        return rows.empty() ? -1 : rows[0];
    }

    std::vector<platform::ModalRequest> messages() {
        std::vector<platform::ModalRequest> shown;
        for (const platform::ModalRequest& request : requests)
            if (request.kind == platform::ModalKind::MessageBox) shown.push_back(request);
        return shown;
    }
};

} // namespace

TEST_F(FindDialogTest, CtrlFAndCtrlHOpenTheDialogsWithTheirStartingState) {
    key(Qt::Key_F, Qt::ControlModifier);
    key(Qt::Key_H, Qt::ControlModifier);
    Texts titles;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(widget) && widget->isVisible())
            titles.push_back(widget->windowTitle().toStdString());
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (Texts{"検索", "置換"}));

    DialogId dialog = openReplaceDialog(catalog);
    EXPECT_EQ(platform::items(dialog, 1059), (Texts{"タイトル", "場所"}));
    EXPECT_EQ(platform::selection(dialog, 1059), 0);
    EXPECT_TRUE(platform::isChecked(dialog, 1018));
    for (int box : {1014, 1056, 1057, 1058})
        EXPECT_FALSE(platform::isChecked(dialog, box));
    platform::clickControl(dialog, 2);
    EXPECT_FALSE(platform::isDialog(dialog));
    // Return in the search text searches downward; Escape closes.
    dialog = openFindDialog(catalog);
    platform::typeText(dialog, 1042, "カナ");
    platform::pressDialogKey(dialog, platform::key::Return);
    platform::processPendingMessages();
    EXPECT_EQ(selected(), (std::vector<int>{2}));
    platform::pressDialogKey(dialog, platform::key::Escape);
    platform::processPendingMessages();
    EXPECT_FALSE(platform::isDialog(dialog));
}

TEST_F(FindDialogTest, EachOptionBoxMakesItsDifferenceCountAloneAndCombined) {
    DialogId dialog = openFindDialog(catalog);
    EXPECT_EQ(search(dialog, "abc", -1), 1);
    EXPECT_EQ(search(dialog, "ＡＢＣ", -1), 1); // width
    EXPECT_EQ(search(dialog, "かな", -1), 2);   // kana
    EXPECT_EQ(search(dialog, "がいど", -1), 4); // width and kana together, with the voiced mark
    platform::clickControl(dialog, 1014);
    EXPECT_EQ(search(dialog, "abc", 0), 0); // not found: the selection stays
    EXPECT_EQ(search(dialog, "ABC", 0), 1);
    EXPECT_EQ(search(dialog, "ＡＢＣ", 0), 1); // case matters, width still not
    platform::clickControl(dialog, 1056);
    EXPECT_EQ(search(dialog, "ＡＢＣ", 0), 0);
    EXPECT_EQ(search(dialog, "がいど", 0), 0);
    platform::clickControl(dialog, 1056);
    platform::clickControl(dialog, 1057);
    EXPECT_EQ(search(dialog, "かな", 0), 0);
    EXPECT_EQ(search(dialog, "がいど", 0), 0);
    EXPECT_EQ(search(dialog, "ガイド", 0), 4);
}

TEST_F(FindDialogTest, SymbolsGoOnlyUpwardAndNeitherWayWraps) {
    DialogId dialog = openFindDialog(catalog);
    EXPECT_EQ(search(dialog, "a!b", 4, 1043), 3); // upward the symbols are left out
    EXPECT_EQ(search(dialog, "a!b", 0, 1044), 0); // downward they are not
    platform::clickControl(dialog, 1058);
    EXPECT_EQ(search(dialog, "a!b", 4, 1043), 4);
    EXPECT_EQ(search(dialog, "a?b", 4, 1043), 3);
    EXPECT_EQ(search(dialog, "a?b", 3, 1043), 3);  // nothing above it
    EXPECT_EQ(search(dialog, "ｶﾞ", 4, 1044), 4);   // from the last row downward: nothing
    EXPECT_EQ(search(dialog, "a?b", -1, 1043), 4); // nothing selected upward: the row found last
    EXPECT_TRUE(messages().empty());
    // Each new text joins the history once, in the order searched.
    EXPECT_EQ(platform::items(dialog, 1042), (Texts{"a!b", "a?b", "ｶﾞ", "a?b"}));
}

TEST_F(FindDialogTest, OneColumnScopeSearchesTheChosenColumnOnly) {
    fill({kColumnTitle, kColumnLocation}, {{"here", "x"}, {"x", "here"}});
    DialogId dialog = openFindDialog(catalog);
    platform::clickControl(dialog, 1020);
    platform::chooseItem(dialog, 1059, 1);
    EXPECT_EQ(search(dialog, "here", -1), 1);
    EXPECT_EQ(search(dialog, "here", 1, 1043), 1);
}

TEST_F(FindDialogTest, ReplaceRewritesTheSelectedRowAndReplaceAllCountsRows) {
    DialogId dialog = openReplaceDialog(catalog);
    platform::typeText(dialog, 1043, "ｶﾀ");
    platform::typeText(dialog, 1042, "か");
    platform::clickControl(dialog, 1068); // nothing selected: nothing happens
    EXPECT_FALSE(catalog.list.modified);
    select({2});
    platform::clickControl(dialog, 1068);
    EXPECT_EQ(column(0)[2], "ｶﾀナ");
    EXPECT_TRUE(catalog.list.modified);
    EXPECT_EQ(selected(), (std::vector<int>{2}));

    platform::typeText(dialog, 1042, "B");
    platform::typeText(dialog, 1043, "xyz");
    platform::clickControl(dialog, 1069);
    EXPECT_EQ(column(0), (Texts{"始め", "xAxyzCx", "ｶﾀナ", "a?xyz", "ｶﾞｲﾄﾞ"}));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "2 アイテム置換っ！！");
    EXPECT_EQ(messages()[0].caption, "置換したぞ");
    EXPECT_TRUE(platform::items(dialog, 1042).empty()); // replacing keeps no history
    EXPECT_TRUE(platform::items(dialog, 1043).empty());

    catalog.list.modified = false;
    platform::typeText(dialog, 1042, "nowhere");
    platform::clickControl(dialog, 1069);
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_TRUE(catalog.list.modified);
    // The replace dialog's own search goes downward from the selection.
    select({0});
    platform::typeText(dialog, 1042, "xyz");
    platform::clickControl(dialog, 1044);
    EXPECT_EQ(selected(), (std::vector<int>{1}));
}
