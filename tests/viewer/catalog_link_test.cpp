// The main window's catalog commands and keys, on the whole viewer.
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <deque>
#include <unistd.h>

#include "catalog/catalog_view.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/focus.h"
#include "platform/report_list.h"
#include "platform/ui_fixture.h"
#include "platform/window_host.h"
#include "resources/command_ids.h"
#include "viewer/navigation.h"
#include "viewer/viewer_fixture.h"

using namespace viewer_test;

namespace {

const platform::Size P = kPortrait;

} // namespace

class CatalogLinkTest : public ViewerTest {
protected:
    CatalogWindow& catalog() { return v().catalog; }
    // Rows for these folders (without their trailing separator), with the
    // LastPage, StartPage and UseCount columns shown.
    void catalogRows(const std::vector<std::string>& folders) {
        CatalogList& list = catalog().list;
        list.columns[kColumnLastPage].displayPosition = 2;
        list.columns[kColumnStartPage].displayPosition = 3;
        list.columns[kColumnUseCount].displayPosition = 4;
        list.visibleCount = 5;
        buildViewColumns(list);
        for (const std::string& folder : folders)
            appendRow(list, kIconFolder, {"", folder.substr(0, folder.size() - 1), "", "", ""});
        showWholeCatalog(catalog());
    }
    std::string cell(int row, int position) {
        return std::string(catalog().list.rows[std::size_t(row)].cells[std::size_t(position)]);
    }
};

TEST_F(CatalogLinkTest, LShowsTheCatalogAndHidesItAgain) {
    start();
    ASSERT_TRUE(platform::isWindow(catalog().window));
    EXPECT_FALSE(platform::isVisible(catalog().window));
    EXPECT_EQ(platform::title(catalog().window), "リスト");
    typeCharacter('l');
    EXPECT_TRUE(platform::isVisible(catalog().window));
    EXPECT_TRUE(catalog().shown);
    typeCharacter('L');
    EXPECT_FALSE(platform::isVisible(catalog().window));
    EXPECT_FALSE(catalog().shown);
    command(cmd::ShowCatalog);
    platform::closeWindow(catalog().window); // closing hides and clears the flag
    EXPECT_FALSE(catalog().shown);
    command(cmd::ShowCatalog);
    EXPECT_TRUE(platform::isVisible(catalog().window));
}

TEST_F(CatalogLinkTest, SlashListShowsTheCatalogAtStart) {
    start({}, {"/list"});
    EXPECT_TRUE(platform::isVisible(catalog().window));
    EXPECT_TRUE(catalog().shown);
}

TEST_F(CatalogLinkTest, TabMovesTheKeyboardToTheListAndBack) {
    start();
    pressKey(Qt::Key_Tab); // hidden: the keyboard stays
    EXPECT_FALSE(platform::reportListHasFocus(catalog().view));
    command(cmd::ShowCatalog);
    pressKey(Qt::Key_Tab);
    EXPECT_TRUE(ui_test::waitFor([&] { return platform::reportListHasFocus(catalog().view); }));
    QTest::keyClick(platform::detail::frameWidget(catalog().window)->focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(ui_test::waitFor([&] { return platform::hasKeyboard(v().mainWindow); }));
}

TEST_F(CatalogLinkTest, RowCommandsOpenTheChosenRowAndRememberThePageLeft) {
    start([](ViewerState& s) { s.MODE = kNormalMode; });
    const std::string a = writeBook({P, P, P}), b = writeBook({P, P}), c = writeBook({P, P, P, P});
    catalogRows({a, b, c});
    command(cmd::OpenFromList); // none selected: the first row
    EXPECT_EQ(v().pages.folder, a);
    EXPECT_EQ(cell(0, 4), "1");
    command(cmd::NextPage);
    command(cmd::NextPage);
    command(cmd::OpenRowAbove); // from the first row: the last
    EXPECT_EQ(v().pages.folder, c);
    EXPECT_EQ(cell(0, 2), "2"); // the page left in the first book
    EXPECT_EQ(platform::selectedReportRows(catalog().view), (std::vector<int>{2}));
    command(cmd::OpenRowBelow); // from the last row: the first, at the page left
    EXPECT_EQ(v().pages.folder, a);
    EXPECT_EQ(shownPages(), (std::vector<int>{2}));
    command(cmd::OpenRowBelow);
    EXPECT_EQ(v().pages.folder, b);
    EXPECT_EQ(title(), "01.bmp");
    EXPECT_EQ(catalog().list.currentRow, 1);

    // A start page is shown when no last page is stored.
    catalog().list.rows[2].cells.set(3, "2");
    catalog().list.rows[2].cells.set(2, "");
    pressKey(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(v().pages.folder, c);
    EXPECT_EQ(shownPages(), (std::vector<int>{2}));
}

TEST_F(CatalogLinkTest, ShiftROpensARandomRowAndAnEmptyCatalogNothing) {
    start([](ViewerState& s) { s.MODE = kNormalMode; });
    typeCharacter('R', Qt::ShiftModifier);
    EXPECT_EQ(v().layout.shownCount, 0);
    EXPECT_TRUE(boxes.empty());
    const std::string a = writeBook({P});
    catalogRows({a});
    typeCharacter('R', Qt::ShiftModifier);
    EXPECT_EQ(v().pages.folder, a);
}

TEST_F(CatalogLinkTest, QuitAsksToSaveAChangedListOnlyAfterTheSettingsAreWritten) {
    start();
    platform::closeWindow(v().mainWindow); // no changes: no question
    platform::processPendingMessages();
    EXPECT_TRUE(boxes.empty());

    start();
    std::remove(settingsPath.c_str());
    catalogRows({writeBook({P})});
    catalog().list.modified = true;
    bool settingsWritten = false;
    platform::setModalAnswerer([&](const platform::ModalRequest& request) {
        boxes.push_back(request);
        settingsWritten = platform::pathKind(settingsPath) == platform::PathKind::File;
        return platform::ModalAnswer{platform::DialogResult::No, {}, 0};
    });
    platform::closeWindow(v().mainWindow);
    platform::processPendingMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "リストを保存する？");
    EXPECT_EQ(boxes[0].caption, "確認");
    EXPECT_EQ(boxes[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(boxes[0].icon, platform::MessageIcon::Question);
    EXPECT_TRUE(settingsWritten);
}

TEST_F(CatalogLinkTest, TransparencyCommandsReachTheCatalogWindow) {
    start();
    command(cmd::Transparency50);
    QWidget* frame = platform::detail::frameWidget(catalog().window);
    EXPECT_NEAR(frame->windowOpacity(), 127 / 255.0, 0.01);
    command(cmd::Transparency0);
    EXPECT_NEAR(frame->windowOpacity(), 1.0, 0.01);
}

TEST_F(CatalogLinkTest, ZAndXAddTheOpenFolderAndTheFirstPageShown) {
    start([](ViewerState& s) { s.MODE = kTwoPageMode; });
    command(cmd::AddCurrentFolder); // nothing shown: nothing added
    command(cmd::AddCurrentFile);
    EXPECT_TRUE(catalog().list.rows.empty());
    const std::string book = writeBook({P, P, P});
    ASSERT_TRUE(openPath(book));
    ASSERT_EQ(v().layout.shownCount, 2);
    typeCharacter('z');
    typeCharacter('X'); // the first page of the spread
    command(cmd::NextFile);
    command(cmd::NextFile); // the spread (3, 1): its first page is the last file
    ASSERT_EQ(title(), "01.bmp 03.bmp");
    typeCharacter('x');
    const std::string folder = book.substr(0, book.size() - 1);
    ASSERT_EQ(catalog().list.rows.size(), 3u);
    EXPECT_EQ(cell(0, 1), folder);
    EXPECT_EQ(cell(0, 0), folder.substr(folder.rfind('/') + 1));
    EXPECT_EQ(catalog().list.rows[0].icon, kIconFolder);
    EXPECT_EQ(cell(1, 1), book + "01.bmp");
    EXPECT_EQ(cell(1, 0), "01.bmp");
    EXPECT_EQ(catalog().list.rows[1].icon, kIconFile);
    EXPECT_EQ(cell(2, 1), book + "03.bmp");
    EXPECT_EQ(platform::reportRowCount(catalog().view), 3);
    EXPECT_TRUE(catalog().list.modified);

    // With an archive open, both add the archive itself, never its folder
    // inside or a member.
    const std::string archive = book + "book.zip";
    testing_support::writeFile(archive, "PK");
    v().pages.archiveMode = 1;
    v().pages.archivePath = archive;
    typeCharacter('z');
    typeCharacter('x');
    ASSERT_EQ(catalog().list.rows.size(), 5u);
    EXPECT_EQ(cell(3, 1), archive);
    EXPECT_EQ(cell(4, 1), archive);
    EXPECT_EQ(cell(4, 0), "book.zip");
}

TEST_F(CatalogLinkTest, AMissingPathOnADiscThatIsOutAsksForTheDiscBeforeTheError) {
    start();
    const std::string missing =
        "/media/voxa-test-" + std::to_string(::getpid()) + "/COMICS_01/book";
    std::deque<platform::DialogResult> answers{platform::DialogResult::Retry,
                                               platform::DialogResult::Cancel};
    platform::setModalAnswerer([&](const platform::ModalRequest& request) {
        boxes.push_back(request);
        platform::ModalAnswer answer;
        answer.result = answers.empty() ? platform::DialogResult::Ok : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    });
    // Without the disc name column: the error alone.
    EXPECT_FALSE(openPath(missing));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "エラーっす");

    boxes.clear();
    answers = {platform::DialogResult::Retry, platform::DialogResult::Cancel};
    CatalogList& list = catalog().list;
    list.columns[kColumnCdName].displayPosition = 2;
    list.columns[kColumnUseCount].displayPosition = 3;
    list.visibleCount = 4;
    buildViewColumns(list);
    appendRow(list, kIconFolder, {"book", missing, "COMICS_01", ""});
    showWholeCatalog(catalog());
    // Retry opens again and, the disc still out, asks again; Cancel then
    // lets that open report the error once. No open claims success, so the
    // row's use count stays as it was.
    command(cmd::OpenFromList);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "CD[COMICS_01]をいれてくれ");
    EXPECT_EQ(boxes[0].caption, "ＣＤいれろや");
    EXPECT_EQ(boxes[1].caption, "ＣＤいれろや");
    EXPECT_EQ(boxes[2].caption, "エラーっす");
    EXPECT_EQ(cell(0, 3), "");
    EXPECT_EQ(v().layout.shownCount, 0);
}
