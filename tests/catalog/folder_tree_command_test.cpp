// Adding a folder tree from the catalog window: the folder browser, the wait
// cursor and the progress window with its cancel button, the rows as they come.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "catalog/catalog_window_fixture.h"
#include "catalog/folder_tree_command.h"
#include "platform/progress_window.h"
#include "resources/catalog_ids.h"

using namespace catalog_test;
using platform::DialogResult;

namespace {

class FolderTreeCommandTest : public CatalogWindowTest {
protected:
    void SetUp() override {
        CatalogWindowTest::SetUp();
        for (const char* file :
             {"shelf/1/a.jpg", "shelf/2/b.jpg", "shelf/3/c.jpg", "shelf/4/d.jpg"})
            testing_support::writeFile(temp / file, "x");
        answers.push_back({DialogResult::Ok, temp / "shelf", 0});
    }
    void TearDown() override {
        platform::setProgressObserver({});
        CatalogWindowTest::TearDown();
    }
    int shownRows() { return table()->model()->rowCount(); }
};

} // namespace

TEST_F(FolderTreeCommandTest, AsksForTheFolderAndShowsProgressUnderTheWaitCursor) {
    std::vector<std::string> texts;
    std::vector<int> rowsShown;
    platform::setProgressObserver([&](platform::ProgressId, int, int) {
        QWidget* progress = QApplication::activeModalWidget();
        ASSERT_NE(progress, nullptr);
        texts.push_back(progress->findChild<QLabel*>()->text().toStdString());
        rowsShown.push_back(shownRows());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    });
    command(listcmd::AddFolderTree);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, platform::ModalKind::BrowseFolder);
    EXPECT_EQ(requests[0].caption, kFolderTreeTitle);
    EXPECT_EQ(requests[0].owner, main);
    // The shelf, then each of its four folders.
    EXPECT_EQ(texts, (std::vector<std::string>{"フォルダ 1 / 5", "フォルダ 2 / 5", "フォルダ 3 / 5",
                                               "フォルダ 4 / 5", "フォルダ 5 / 5"}));
    EXPECT_EQ(rowsShown, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(shownRows(), 4);
    EXPECT_TRUE(catalog.list.modified);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(FolderTreeCommandTest, CancelKeepsTheRowsAddedSoFar) {
    platform::setProgressObserver([&](platform::ProgressId, int done, int) {
        if (done == 3)
            QTest::mouseClick(QApplication::activeModalWidget()->findChild<QPushButton*>(),
                              Qt::LeftButton);
    });
    command(listcmd::AddFolderTree);
    EXPECT_EQ(catalog.list.rows.size(), 2u);
    EXPECT_EQ(shownRows(), 2);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Cancelling the folder browser adds nothing.
    answers.clear();
    command(listcmd::AddFolderTree);
    EXPECT_EQ(catalog.list.rows.size(), 2u);
}
