// The catalog window through its real widgets: its look, sorting by header
// clicks, the row commands, the keys of its list, opening rows, the File menu.
#include <QHeaderView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "catalog/catalog_view.h"
#include "catalog/catalog_window_fixture.h"
#include "catalog/list_file.h"
#include "platform/application.h"
#include "platform/focus.h"
#include "platform/report_list_host.h"
#include "platform/window_host.h"
#include "resources/catalog_ids.h"
#include "resources/command_ids.h"
#include "settings/settings_file.h"

using namespace catalog_test;
using Texts = std::vector<std::string>;
using platform::DialogResult;
using platform::ModalAnswer;

TEST_F(CatalogWindowTest, StartsAsTheEmptyListWithItsMenusAndToolbar) {
    EXPECT_EQ(platform::title(catalog.window), "リスト");
    EXPECT_EQ(platform::reportColumnCount(catalog.view), 2);
    EXPECT_EQ(table()->model()->headerData(0, Qt::Horizontal).toString().toStdString(), "タイトル");
    EXPECT_EQ(platform::reportColumnWidth(catalog.view, 0), 140);
    EXPECT_EQ(table()->model()->headerData(1, Qt::Horizontal).toString().toStdString(), "場所");
    EXPECT_EQ(platform::reportColumnWidth(catalog.view, 1), 150);
    platform::MenuHandle menu = platform::attachedMenu(catalog.window);
    EXPECT_EQ(platform::menuBarTitles(menu),
              (Texts{"ファイル(&F)", "編集(&E)", "追加(&A)", "ツール(&T)", "設定(&O)"}));
    EXPECT_EQ(platform::menuItemText(menu, listcmd::Down), "下へ(&D)\tAlt+Down");
    EXPECT_EQ(platform::menuItemText(catalog.popup, listcmd::Down), "下へ(&S)\tAlt+Down");
    EXPECT_EQ(platform::menuBarTitles(catalog.popup), (Texts{"ふつー"}));

    // Ten buttons and three separators; a button's click is its command.
    QToolBar* bar = platform::detail::clientWidget(catalog.window)->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    int buttons = 0, separators = 0;
    for (QAction* action : bar->actions()) (action->isSeparator() ? separators : buttons)++;
    EXPECT_EQ(buttons, 10);
    EXPECT_EQ(separators, 3);
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    fill({kColumnTitle, kColumnLocation}, {{"a", "/a"}, {"b", "/b"}});
    select({1});
    QTest::mouseClick(bar->widgetForAction(bar->actions()[5]), Qt::LeftButton); // up
    EXPECT_EQ(column(0), (Texts{"b", "a"}));
    // The list lies below the toolbar.
    EXPECT_EQ(table()->geometry().top(), platform::toolbarHeight(catalog.toolbar));
}

TEST_F(CatalogWindowTest, HeaderClicksSortEachKindOfColumnBothWays) {
    fill({kColumnTitle, kColumnLocation, kColumnTotalFiles, kColumnUpdated, kColumnUseCount},
         {{"b", "", "10", "2003/05/01 09:07", "100"},
          {"A", "", "9", "2003/05/01 09:10", "12"},
          {"c", "", "", "1999/12/31 23:59", ""}});
    select({0}); // "b" stays selected through every sort
    clickHeader(0);
    EXPECT_EQ(column(0), (Texts{"A", "b", "c"}));
    clickHeader(0);
    EXPECT_EQ(column(0), (Texts{"c", "b", "A"}));
    clickHeader(0);
    EXPECT_EQ(column(0), (Texts{"A", "b", "c"}));
    EXPECT_EQ(selected(), (std::vector<int>{1}));

    clickHeader(2); // numbers by value, an empty cell as 0
    EXPECT_EQ(column(2), (Texts{"", "9", "10"}));
    clickHeader(2);
    EXPECT_EQ(column(2), (Texts{"10", "9", ""}));
    clickHeader(3); // dates field by field
    EXPECT_EQ(column(3), (Texts{"1999/12/31 23:59", "2003/05/01 09:07", "2003/05/01 09:10"}));
    clickHeader(3);
    EXPECT_EQ(column(3), (Texts{"2003/05/01 09:10", "2003/05/01 09:07", "1999/12/31 23:59"}));
    clickHeader(4); // a counter reads as a year: 12 before 100
    EXPECT_EQ(column(4), (Texts{"", "12", "100"}));
    clickHeader(4);
    EXPECT_EQ(column(4), (Texts{"100", "12", ""}));
    EXPECT_EQ(catalog.list.rows[std::size_t(selected()[0])].cells[0], "b");
    // Sorting is no change of the list's contents.
    EXPECT_FALSE(catalog.list.modified);
}

TEST_F(CatalogWindowTest, AltUpAndAltDownMoveBlocksOfSelectedRows) {
    fill({kColumnTitle, kColumnLocation}, {{"0", ""}, {"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}});
    select({0, 1, 3});
    key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(column(0), (Texts{"0", "1", "3", "2", "4"}));
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(catalog.list.modified);
    select({0, 3});
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(column(0), (Texts{"1", "0", "3", "4", "2"}));
    EXPECT_EQ(selected(), (std::vector<int>{1, 4}));
    key(Qt::Key_Down, Qt::AltModifier); // the bottom row stays
    EXPECT_EQ(column(0), (Texts{"1", "3", "0", "4", "2"}));
    EXPECT_EQ(selected(), (std::vector<int>{2, 4}));
    EXPECT_EQ(catalog.list.rows[2].serial, 0); // a moved row keeps its serial

    fill({kColumnTitle, kColumnLocation}, {{"only", ""}});
    select({0});
    catalog.list.modified = false;
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(catalog.list.modified);
    key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_TRUE(catalog.list.modified);
}

TEST_F(CatalogWindowTest, FavouriteStarsStopAtTenAndAtNone) {
    fill({kColumnTitle, kColumnLocation, kColumnFavourite}, {{"a", "", "★★ good"}, {"b", "", "★★★★★★★★★★"}});
    key(Qt::Key_F7); // no row selected: nothing
    EXPECT_EQ(column(2)[0], "★★ good");
    EXPECT_FALSE(catalog.list.modified);
    select({0});
    key(Qt::Key_F7);
    EXPECT_EQ(column(2)[0], "★★★");
    key(Qt::Key_F8);
    key(Qt::Key_F8);
    key(Qt::Key_F8);
    EXPECT_EQ(column(2)[0], "");
    key(Qt::Key_F8);
    EXPECT_EQ(column(2)[0], "");
    EXPECT_TRUE(catalog.list.modified);
    select({1});
    key(Qt::Key_F7);
    EXPECT_EQ(column(2)[1], "★★★★★★★★★★");
}

TEST_F(CatalogWindowTest, DoubleClickStoresThePageLeftThenOpensCountsAndJumps) {
    fill({kColumnTitle, kColumnLocation, kColumnUseCount, kColumnStartPage, kColumnLastPage},
         {{"a", "/books/a", "", "", ""}, {"b", "/books/b", "", "3", "7"}, {"c", "/books/c", "5", "", ""}});
    catalog.list.currentRow = 0;
    pages.folder = "/books/a/";
    pages.currentIndex = 5;
    shownCount = 2;
    doubleClickRow(1);
    EXPECT_EQ(column(4)[0], "4"); // the first page of the spread on screen
    EXPECT_EQ(opened, (Texts{"/books/b"}));
    EXPECT_EQ(column(2)[1], "1");
    EXPECT_EQ(shownPages, (std::vector<int>{3, 7})); // the last page wins
    EXPECT_EQ(catalog.list.currentRow, 1);
    EXPECT_TRUE(platform::hasKeyboard(main) || ui_test::waitFor([&] { return platform::hasKeyboard(main); }));

    // A row whose path does not open is left as it was.
    openSucceeds = false;
    pages.currentIndex = 0; // the first page: nothing to remember
    doubleClickRow(2);
    EXPECT_EQ(column(2)[2], "5");
    EXPECT_EQ(catalog.list.currentRow, 2);

    // Below the last row: the page is remembered, nothing is opened.
    openSucceeds = true;
    pages.folder = "/books/c/";
    pages.currentIndex = 2;
    shownCount = 1;
    doubleClickRow(-1);
    EXPECT_EQ(column(4)[2], "2");
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(CatalogWindowTest, ThePageLeftIsStoredOnlyForTheOpenPlaceAndAnExistingRow) {
    fill({kColumnTitle, kColumnLocation, kColumnLastPage}, {{"a", "/books/a.zip", ""}, {"b", "/books/b", ""}});
    pages.archiveMode = 1;
    pages.archivePath = "/books/a.zip";
    pages.currentIndex = 6;
    catalog.list.currentRow = 1; // another place is open
    command(listcmd::SaveAs);
    EXPECT_EQ(column(2), (Texts{"", ""}));
    catalog.list.currentRow = 0;
    command(listcmd::SaveAs);
    EXPECT_EQ(column(2)[0], "6");
    // Rows deleted since: the current row is past the end and names no row.
    select({0, 1});
    key(Qt::Key_Delete);
    catalog.list.currentRow = 1;
    catalog.list.modified = false;
    command(listcmd::SaveAs);
    command(listcmd::ListInformation);
    EXPECT_EQ(requests.back().text, "アイテム数   \t0 \n現在のアイテム\t0 ");
    EXPECT_EQ(requests.back().caption, "リスト情報");
    EXPECT_EQ(requests.back().icon, platform::MessageIcon::Information);
}

TEST_F(CatalogWindowTest, AFailedOrCancelledSaveKeepsTheChanges) {
    fill({kColumnTitle, kColumnLocation}, {{"a", "/a"}});
    catalog.list.modified = true;
    catalog.list.hasFileName = true;
    catalog.list.listPath = temp / "missing/list.vxl";
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "失敗したッス");
    EXPECT_EQ(requests[0].caption, "あらら");
    EXPECT_EQ(requests[0].icon, platform::MessageIcon::Error);
    EXPECT_TRUE(catalog.list.modified);

    catalog.list.hasFileName = false; // Save asks for a name: cancelled
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].kind, platform::ModalKind::SaveFile);
    EXPECT_EQ(requests[1].fileName, "名称未設定.vxl");
    EXPECT_EQ(requests[1].defaultExtension, "vxl");
    EXPECT_TRUE(catalog.list.modified);

    answers.push_back({DialogResult::Ok, temp / "missing/x.vxl", 0}); // written nowhere
    command(listcmd::SaveAs);
    EXPECT_EQ(requests.back().text, "失敗したッス");
    EXPECT_EQ(requests.back().icon, platform::MessageIcon::None);
    EXPECT_TRUE(catalog.list.modified);

    answers.push_back({DialogResult::Ok, temp / "list.vxl", 0});
    command(listcmd::SaveAs);
    EXPECT_FALSE(catalog.list.modified);
    EXPECT_EQ(platform::title(catalog.window), temp / "list.vxl");

    // An empty list is not saved, and counts as saved.
    fill({kColumnTitle, kColumnLocation}, {});
    catalog.list.modified = true;
    std::size_t asked = requests.size();
    command(listcmd::SaveAs);
    EXPECT_EQ(requests.size(), asked);
    EXPECT_FALSE(catalog.list.modified);
}

TEST_F(CatalogWindowTest, NewAndOpenAskBeforeChangesAreLost) {
    CatalogList saved;
    resetCatalog(saved);
    appendRow(saved, kIconArchive, {"書庫", "/books/x.zip"});
    ASSERT_EQ(writeListFile(saved, temp / "saved.vxl"), 1);

    fill({kColumnTitle, kColumnLocation}, {{"a", "/a"}});
    key(Qt::Key_N, Qt::ControlModifier); // no changes: no question
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(catalog.list.rows.empty());

    fill({kColumnTitle, kColumnLocation}, {{"a", "/a"}});
    catalog.list.modified = true;
    answers.push_back({DialogResult::No, {}, 0});
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(requests.size(), 1u); // asked, and no dialog after No
    EXPECT_EQ(requests[0].text, "リスト消すけどいい？");
    EXPECT_EQ(requests[0].caption, "確認");
    EXPECT_EQ(requests[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(requests[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(catalog.list.rows.size(), 1u);

    answers.push_back({DialogResult::Yes, {}, 0});
    answers.push_back({DialogResult::Ok, temp / "saved.vxl", 0});
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].kind, platform::ModalKind::OpenFile);
    EXPECT_EQ(requests[2].caption, "リストを開く");
    // Where the viewer keeps its settings, which an installed viewer can write.
    EXPECT_EQ(requests[2].folder, viewerFilesFolder(settingsLocation()));
    ASSERT_EQ(requests[2].filters.size(), 1u);
    EXPECT_EQ(requests[2].filters[0].description, "Voxa list");
    EXPECT_EQ(requests[2].filters[0].patterns, "*.vxl");
    EXPECT_EQ(column(0), (Texts{"書庫"}));
    EXPECT_EQ(platform::title(catalog.window), temp / "saved.vxl");
    EXPECT_FALSE(catalog.list.modified);

    answers.push_back({DialogResult::Ok, temp / "nothing.vxl", 0});
    key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(requests.back().text, "失敗したッス");
    EXPECT_EQ(column(0), (Texts{"書庫"}));

    catalog.list.modified = true;
    answers.push_back({DialogResult::Yes, {}, 0});
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(catalog.list.rows.empty());
    EXPECT_EQ(platform::title(catalog.window), "リスト");
}

TEST_F(CatalogWindowTest, TheOtherKeysOfTheList) {
    fill({kColumnTitle, kColumnLocation}, {{"a", "/a"}, {"b", temp / "missing"}, {"c", "/c"}});
    // Keys of dialogs still to come do nothing yet.
    for (int qtKey : {Qt::Key_F, Qt::Key_H}) key(qtKey, Qt::ControlModifier);
    for (int qtKey : {Qt::Key_Return, Qt::Key_F5}) key(qtKey);
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(catalog.list.modified);

    select({1});
    key(Qt::Key_Space);
    EXPECT_EQ(mainCommands(), (std::vector<int>{cmd::OpenFromList}));
    key(Qt::Key_Delete);
    EXPECT_EQ(column(0), (Texts{"a", "c"}));
    EXPECT_TRUE(catalog.list.modified);
    key(Qt::Key_Delete); // nothing selected: still marked changed
    EXPECT_EQ(column(0).size(), 2u);

    // The middle button is the data input; the second extra button hides
    // the catalog through the main window.
    QTest::mousePress(table()->viewport(), Qt::XButton2, {}, QPoint(5, 5));
    QTest::mouseRelease(table()->viewport(), Qt::XButton2, {}, QPoint(5, 5));
    EXPECT_EQ(mainCommands().back(), cmd::ShowCatalog);

    select({1});
    platform::sendCommand(catalog.window, listcmd::DeleteAll);
    EXPECT_TRUE(catalog.list.rows.empty());
    EXPECT_EQ(platform::reportRowCount(catalog.view), 0);

    platform::focusReportList(catalog.view);
    key(Qt::Key_Tab);
    EXPECT_TRUE(ui_test::waitFor([&] { return platform::hasKeyboard(main); }));

    // A key on the window itself: Tab to the main window, Space nothing,
    // any other key gives the list the keyboard.
    QWidget* frame = platform::detail::frameWidget(catalog.window);
    QTest::keyClick(frame, Qt::Key_Space);
    EXPECT_FALSE(platform::reportListHasFocus(catalog.view));
    QTest::keyClick(frame, Qt::Key_A);
    EXPECT_TRUE(ui_test::waitFor([&] { return platform::reportListHasFocus(catalog.view); }));
}

TEST_F(CatalogWindowTest, OpeningAMissingTargetSaysSo) {
    fill({kColumnTitle, kColumnLocation}, {{"b", temp / "missing"}});
    select({0});
    command(listcmd::OpenTarget);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text, "開けないよー");
    EXPECT_EQ(requests[0].caption, "エラー");
    EXPECT_EQ(requests[0].icon, platform::MessageIcon::Error);
}

TEST_F(CatalogWindowTest, DroppedPathsBecomeRowsAndClosingOnlyHides) {
    testing_support::makeFolder(temp / "book");
    platform::MessageParams params;
    params.paths = {temp / "book", temp / "page.jpg"};
    catalogWindowProcedure(catalog.window, platform::MessageKind::Drop, params);
    // A path not there is named by its last component, with the folder icon.
    EXPECT_EQ(column(0), (Texts{"book", "page.jpg"}));
    EXPECT_EQ(column(1), (Texts{temp / "book", temp / "page.jpg"}));
    EXPECT_EQ(catalog.list.rows[0].icon, kIconFolder);
    EXPECT_EQ(catalog.list.rows[1].icon, kIconFolder);
    EXPECT_TRUE(catalog.list.modified);

    catalog.shown = true;
    platform::closeWindow(catalog.window);
    EXPECT_TRUE(platform::isWindow(catalog.window));
    EXPECT_FALSE(platform::isVisible(catalog.window));
    EXPECT_FALSE(catalog.shown);
    EXPECT_EQ(catalog.list.rows.size(), 2u);
}

TEST_F(CatalogWindowTest, RightClickShowsTheFirstPopupOfListpop) {
    fill({kColumnTitle, kColumnLocation}, {{"a", "/a"}, {"b", "/b"}});
    select({1});
    answers.push_back({DialogResult::Ok, {}, listcmd::Up});
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(50, 60));
    QCoreApplication::sendEvent(table()->viewport(), &event);
    platform::processPendingMessages();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, platform::ModalKind::PopupMenu);
    EXPECT_EQ(requests[0].menu, catalog.popup);
    EXPECT_EQ(requests[0].popupIndex, 0);
    EXPECT_EQ(column(0), (Texts{"b", "a"}));
}

TEST_F(CatalogWindowTest, TheQuitQuestionComesOnlyWithChanges) {
    command(listcmd::Quit);
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(catalog.window, 0u);

    createCatalogWindow(catalog);
    fill({kColumnTitle, kColumnLocation}, {{"a", "/a"}});
    catalog.list.modified = true;
    transparency = 64;
    answers.push_back({DialogResult::Yes, {}, 0});
    answers.push_back({DialogResult::Ok, temp / "quit.vxl", 0});
    const platform::WindowId window = catalog.window;
    command(listcmd::Quit);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].text, "リストを保存する？");
    EXPECT_EQ(requests[0].caption, "確認");
    EXPECT_EQ(requests[0].owner, main);
    EXPECT_EQ(requests[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(transparency, 255); // the question is asked over an opaque window
    EXPECT_FALSE(platform::isWindow(window));
    CatalogList back;
    EXPECT_EQ(readListFile(back, temp / "quit.vxl"), 1);
    EXPECT_EQ(back.rows.size(), 1u);
}

TEST_F(CatalogWindowTest, F5FillsTheSelectedRowsAutomaticCellsFromTheirLocation) {
    testing_support::writeFile(temp / "book/a.txt", "x");
    testing_support::writeFile(temp / "book/b.txt", "y");
    fill({kColumnTitle, kColumnLocation, kColumnTotalFiles},
         {{"a", temp / "book", "old"}, {"b", temp / "book", "old"}});
    key(Qt::Key_F5); // none selected: nothing changes
    EXPECT_FALSE(catalog.list.modified);
    select({1});
    key(Qt::Key_F5);
    EXPECT_EQ(column(2), (Texts{"old", "2"}));
    EXPECT_TRUE(catalog.list.modified);
}
