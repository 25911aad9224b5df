// The mass input dialog through its real controls over a real catalog window.
#include "catalog/catalog_window_fixture.h"
#include "platform/dialog_seam.h"
#include "resources/catalog_ids.h"

using namespace catalog_test;
using namespace platform;
using Texts = std::vector<std::string>;

TEST_F(CatalogWindowTest, MassInputFillsOneColumnOfTheSelectedRows) {
    fill({kColumnTitle, kColumnLocation, kColumnRemarks},
         {{"0", "", "r"}, {"1", "", "r"}, {"2", "", "r"}, {"3", "", "r"}});
    dialogActs.push_back([](DialogId dialog) {
        EXPECT_EQ(dialogTitle(dialog), "一括入力");
        EXPECT_EQ(items(dialog, 1042), (Texts{"タイトル", "場所", "備考"}));
        EXPECT_EQ(selection(dialog, 1042), 0);
        chooseItem(dialog, 1042, 2);
        typeText(dialog, 1003, "まとめて");
        clickControl(dialog, kOkId);
    });
    select({0, 2, 3});
    command(listcmd::MassInput);
    EXPECT_EQ(column(2), (Texts{"まとめて", "r", "まとめて", "まとめて"}));
    EXPECT_EQ(column(0), (Texts{"0", "1", "2", "3"}));
    EXPECT_TRUE(catalog.list.modified);

    // No row selected: nothing written, and still a change.
    catalog.list.modified = false;
    select({});
    dialogActs.push_back([](DialogId dialog) { clickControl(dialog, kOkId); });
    command(listcmd::MassInput);
    EXPECT_EQ(column(2), (Texts{"まとめて", "r", "まとめて", "まとめて"}));
    EXPECT_TRUE(catalog.list.modified);

    fill({kColumnTitle, kColumnLocation}, {});
    const std::size_t asked = requests.size();
    command(listcmd::MassInput); // an empty list opens nothing
    EXPECT_EQ(requests.size(), asked);
}
