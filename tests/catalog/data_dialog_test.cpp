// The data dialog through its real controls over a real catalog window.
#include "catalog/catalog_window_fixture.h"
#include "platform/dialog_seam.h"
#include "resources/catalog_ids.h"

using namespace catalog_test;
using namespace platform;
using Texts = std::vector<std::string>;

namespace {

class DataDialogTest : public CatalogWindowTest {
protected:
    // Seven columns: two pages, the second with two columns.
    void SetUp() override {
        CatalogWindowTest::SetUp();
        fill(
            {kColumnTitle, kColumnLocation, kColumnAuthor, kColumnType, kColumnUpdated,
             kColumnRemarks, kColumnUser1},
            {{"t0", "/0", "a0", "1", "d0", "r0", "u0"}, {"t1", "/1", "a1", "2", "d1", "r1", "u1"}});
    }

    Texts slotTexts(DialogId dialog, int first) {
        Texts texts;
        for (int j = 0; j < 5; ++j)
            texts.push_back(controlText(dialog, first + j));
        return texts;
    }

    // Brings the dialog to page 1 whatever page it opened at.
    void firstPage(DialogId dialog) { stepUpDown(dialog, 1010, -9); }
};

} // namespace

TEST_F(DataDialogTest, PagesShowFiveColumnsEachAndKeepEditsUntilCancel) {
    dialogActs.push_back([this](DialogId dialog) {
        EXPECT_EQ(dialogTitle(dialog), "データ編集");
        firstPage(dialog);
        EXPECT_EQ(controlText(dialog, 1055), "1");
        EXPECT_EQ(rangeLow(dialog, 1010), 1);
        EXPECT_EQ(rangeHigh(dialog, 1010), 2);
        EXPECT_EQ(slotTexts(dialog, 1050),
                  (Texts{"タイトル", "場所", "制作者", "タイプ", "更新日時"}));
        EXPECT_EQ(slotTexts(dialog, 1003), (Texts{"t1", "/1", "a1", "2", "d1"}));
        typeText(dialog, 1005, "new author");
        stepUpDown(dialog, 1010, 1);
        EXPECT_EQ(controlText(dialog, 1055), "2");
        EXPECT_EQ(slotTexts(dialog, 1050), (Texts{"備考", "ユーザー定義１", "", "", ""}));
        EXPECT_EQ(slotTexts(dialog, 1003), (Texts{"r1", "u1", "", "", ""}));
        for (int empty : {1005, 1006, 1007}) {
            typeText(dialog, empty, "ignored");
            EXPECT_EQ(controlText(dialog, empty), "");
        }
        typeText(dialog, 1004, "new user");
        stepUpDown(dialog, 1010, 1); // no third page
        EXPECT_EQ(controlText(dialog, 1055), "2");
        stepUpDown(dialog, 1010, -1);
        EXPECT_EQ(controlText(dialog, 1005), "new author");
        clickControl(dialog, kCancelId);
    });
    select({1});
    key(Qt::Key_Return);
    EXPECT_EQ(catalog.list.rows[1].cells, (RowCells{"t1", "/1", "a1", "2", "d1", "r1", "u1"}));
    EXPECT_FALSE(catalog.list.modified);

    dialogActs.push_back([this](DialogId dialog) {
        firstPage(dialog);
        typeText(dialog, 1005, "new author");
        stepUpDown(dialog, 1010, 1);
        typeText(dialog, 1004, "new user");
        clickControl(dialog, kOkId);
    });
    command(listcmd::DataInput);
    EXPECT_EQ(column(2)[1], "new author");
    EXPECT_EQ(column(6)[1], "new user");
    EXPECT_EQ(column(2)[0], "a0");
    EXPECT_TRUE(catalog.list.modified);
}

TEST_F(DataDialogTest, EachSelectedRowGetsItsDialogAndThePageIsKeptWhileItExists) {
    std::vector<std::string> titles;
    auto act = [&](DialogId dialog) {
        firstPage(dialog);
        titles.push_back(controlText(dialog, 1003));
        stepUpDown(dialog, 1010, 1);
        clickControl(dialog, kOkId);
    };
    dialogActs = {act, act};
    select({0, 1});
    command(listcmd::DataInput);
    EXPECT_EQ(titles, (Texts{"t0", "t1"}));
    EXPECT_EQ(column(5), (Texts{"r0", "r1"})); // OK changed nothing

    std::string page;
    dialogActs.push_back([&](DialogId dialog) { page = controlText(dialog, 1055); });
    select({0});
    command(listcmd::DataInput);
    EXPECT_EQ(page, "2");
    fill({kColumnTitle, kColumnLocation}, {{"t", "/"}});
    dialogActs.push_back([&](DialogId dialog) { page = controlText(dialog, 1055); });
    select({0});
    command(listcmd::DataInput);
    EXPECT_EQ(page, "1");
}

TEST_F(DataDialogTest, ALongCellKeepsItsWholeTextUnlessItsFieldIsChanged) {
    std::string head(519, 'x');
    std::string longCell = head + "tail";
    fill({kColumnTitle, kColumnLocation}, {{longCell, longCell}});
    dialogActs.push_back([&](DialogId dialog) {
        firstPage(dialog);
        EXPECT_EQ(controlText(dialog, 1003), head);
        typeText(dialog, 1004, "y" + head); // held to 519 bytes
        clickControl(dialog, kOkId);
    });
    select({0});
    command(listcmd::DataInput);
    EXPECT_EQ(column(0)[0], longCell);
    EXPECT_EQ(column(1)[0], "y" + head.substr(1));
}
