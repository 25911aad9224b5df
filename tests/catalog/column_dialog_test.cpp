// The column set and column rename dialogs through their real controls over a
// real catalog window, and what they leave in a saved list.
#include <QAbstractItemModel>
#include <QTableView>

#include "catalog/catalog_window_fixture.h"
#include "catalog/list_file.h"
#include "platform/dialog_seam.h"
#include "resources/catalog_ids.h"

using namespace catalog_test;
using namespace platform;
using Texts = std::vector<std::string>;

namespace {

class ColumnDialogTest : public CatalogWindowTest {
protected:
    void SetUp() override {
        CatalogWindowTest::SetUp();
        fill({kColumnTitle, kColumnLocation, kColumnAuthor, kColumnRemarks},
             {{"t0", "/0", "a0", "r0"}, {"t1", "/1", "a1", "r1"}});
    }

    Texts headers() {
        Texts names;
        QAbstractItemModel* model = table()->model();
        for (int c = 0; c < model->columnCount(); ++c)
            names.push_back(model->headerData(c, Qt::Horizontal).toString().toStdString());
        return names;
    }

    // Runs the column dialog with `act`, then OK.
    void setColumns(std::function<void(DialogId)> act) {
        dialogActs.push_back([act](DialogId dialog) {
            act(dialog);
            clickControl(dialog, kOkId);
        });
        command(listcmd::ColumnSet);
    }

    void press(DialogId dialog, int list, int item, int button) {
        chooseItem(dialog, list, item);
        clickControl(dialog, button);
    }
};

} // namespace

TEST_F(ColumnDialogTest, ButtonsRefuseTheFixedColumnsAndOKRebuildsTheColumns) {
    setColumns([this](DialogId dialog) {
        EXPECT_EQ(dialogTitle(dialog), "表示項目の設定");
        EXPECT_EQ(items(dialog, 1038), (Texts{"タイトル", "場所", "制作者", "備考"}));
        Texts hidden = items(dialog, 1039);
        ASSERT_EQ(hidden.size(), 22u);
        EXPECT_EQ(hidden[0], "タイプ"); // ascending ids
        EXPECT_EQ(hidden[21], "ラストページ");
        press(dialog, 1038, 0, 1045); // the title stays
        press(dialog, 1038, 1, 1045); // so does the location
        press(dialog, 1038, 1, 1047); // nothing above the title
        press(dialog, 1038, 3, 1048); // nothing below the last
        EXPECT_EQ(items(dialog, 1038), (Texts{"タイトル", "場所", "制作者", "備考"}));
        press(dialog, 1038, 2, 1045);
        EXPECT_EQ(items(dialog, 1039)[0], "制作者");
        EXPECT_EQ(selection(dialog, 1038), -1); // rebuilt, nothing selected
        press(dialog, 1038, 2, 1047);
        press(dialog, 1039, 3, 1044); // 追加日時: the fourth hidden id, 制作者 being back first
        EXPECT_EQ(items(dialog, 1038), (Texts{"タイトル", "備考", "場所", "追加日時"}));
        clickControl(dialog, 1044); // nothing selected: nothing happens
        EXPECT_EQ(items(dialog, 1038).size(), 4u);
    });
    EXPECT_EQ(headers(), (Texts{"タイトル", "備考", "場所", "追加日時"}));
    EXPECT_EQ(column(1), (Texts{"r0", "r1"}));
    EXPECT_EQ(column(2), (Texts{"/0", "/1"}));
    EXPECT_EQ(column(3), (Texts{"", ""}));
    EXPECT_EQ(reportColumnWidth(catalog.view, 2), 150);
    EXPECT_FALSE(catalog.list.modified);

    dialogActs.push_back([](DialogId dialog) {
        chooseItem(dialog, 1038, 1);
        clickControl(dialog, 1045);
        clickControl(dialog, kCancelId);
    });
    command(listcmd::ColumnSet);
    EXPECT_EQ(headers(), (Texts{"タイトル", "備考", "場所", "追加日時"}));
}

TEST_F(ColumnDialogTest, ARemovedColumnComesBackWithItsCellsUntilTheListIsSaved) {
    setColumns([this](DialogId dialog) { press(dialog, 1038, 2, 1045); });
    EXPECT_EQ(headers(), (Texts{"タイトル", "場所", "備考"}));
    setColumns([this](DialogId dialog) { press(dialog, 1039, 0, 1044); });
    EXPECT_EQ(headers(), (Texts{"タイトル", "場所", "備考", "制作者"}));
    EXPECT_EQ(column(3), (Texts{"a0", "a1"}));

    setColumns([this](DialogId dialog) { press(dialog, 1038, 3, 1045); });
    answers.push_back({DialogResult::Ok, temp / "list.vxl", 0});
    command(listcmd::SaveAs);
    setColumns([this](DialogId dialog) { press(dialog, 1039, 0, 1044); });
    EXPECT_EQ(column(3), (Texts{"", ""}));
}

TEST_F(ColumnDialogTest, RenamingChangesTheHeaderAndSurvivesASaveAndALoad) {
    dialogActs.push_back([](DialogId dialog) {
        EXPECT_EQ(dialogTitle(dialog), "項目名変更");
        EXPECT_EQ(items(dialog, 1042), (Texts{"タイトル", "場所", "制作者", "備考"}));
        EXPECT_EQ(controlText(dialog, 1003), "タイトル");
        chooseItem(dialog, 1042, 3);
        EXPECT_EQ(controlText(dialog, 1003), "備考");
        std::string name;
        for (int i = 0; i < 200; ++i)
            name += "メ";
        typeText(dialog, 1003, name);
        clickControl(dialog, kOkId);
    });
    select({1});
    command(listcmd::ColumnRename);
    std::string kept;
    for (int i = 0; i < 127; ++i)
        kept += "メ"; // 254 of the 255 stored bytes
    EXPECT_EQ(headers()[3], kept);
    EXPECT_EQ(catalog.list.columns[kColumnRemarks].displayName, kept);
    EXPECT_EQ(selected(), (std::vector<int>{1}));
    EXPECT_FALSE(catalog.list.modified);

    dialogActs.push_back([](DialogId dialog) {
        chooseItem(dialog, 1042, 2);
        typeText(dialog, 1003, "作者");
        clickControl(dialog, kOkId);
    });
    command(listcmd::ColumnRename);
    answers.push_back({DialogResult::Ok, temp / "named.vxl", 0});
    command(listcmd::SaveAs);
    CatalogList loaded;
    ASSERT_EQ(readListFile(loaded, temp / "named.vxl"), 1);
    EXPECT_EQ(loaded.columns[kColumnAuthor].displayName, "作者");
    EXPECT_EQ(loaded.columns[kColumnRemarks].displayName, kept);
    EXPECT_EQ(loaded.viewColumns[2].name, "作者");
    EXPECT_EQ(loaded.rows[1].cells, (RowCells{"t1", "/1", "a1", "r1"}));

    dialogActs.push_back([](DialogId dialog) {
        chooseItem(dialog, 1042, 2);
        clickControl(dialog, 1048);
        EXPECT_EQ(controlText(dialog, 1003), "制作者");
        clickControl(dialog, kOkId);
    });
    command(listcmd::ColumnRename);
    EXPECT_EQ(headers()[2], "制作者");
}
