#include "platform/desktop.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTextBrowser>

#include "platform/html_window.h"
#include "platform/ui_fixture.h"
#include "support/bmp_writer.h"
#include "support/temp_folder.h"

using namespace platform;

class Desktop : public ui_test::UiTest {};

TEST_F(Desktop, TheClipboardGetsTheDibAsABmpFileAndAsAPicture) {
    testing_support::Dib dib = testing_support::makeDib(5, 3, 8, 7);
    std::string packed = dib.header + dib.bits;
    ASSERT_EQ(setClipboardDib(reinterpret_cast<const unsigned char*>(packed.data()), packed.size()),
              1);
    std::string bmp = clipboardBmp();
    EXPECT_EQ(bmp, testing_support::makeBmp(5, 3, 8, 7));
    QImage image = QGuiApplication::clipboard()->image();
    EXPECT_EQ(image.size(), QSize(5, 3));
}

TEST_F(Desktop, APartialDibIsNotPutOnTheClipboard) {
    testing_support::Dib dib = testing_support::makeDib(5, 3, 24);
    std::string packed = dib.header + dib.bits;
    packed.pop_back();
    EXPECT_EQ(setClipboardDib(reinterpret_cast<const unsigned char*>(packed.data()), packed.size()),
              0);
    EXPECT_EQ(openWithDesktop(""), 0);
}

TEST_F(Desktop, AnHtmlPageShowsInAWindowOfItsOwnTitledByThePage) {
    testing_support::TempFolder folder;
    const std::string page = folder / "help.html";
    testing_support::writeFile(page, "<html><head><meta charset=\"utf-8\"><title>ヘルプ</title>"
                                     "</head><body><p>本文</p></body></html>");
    ASSERT_EQ(showHtmlWindow(0, page), 1);
    ASSERT_EQ(ui_test::shownHtmlWindows().size(), 1u);
    QTextBrowser* shown = ui_test::shownHtmlWindows().front();
    EXPECT_EQ(shown->windowTitle().toStdString(), "ヘルプ");
    EXPECT_EQ(shown->toPlainText().toStdString(), "本文");
    EXPECT_EQ(showHtmlWindow(0, page), 1); // the same window again
    EXPECT_EQ(ui_test::shownHtmlWindows().size(), 1u);
    shown->close();
    EXPECT_EQ(showHtmlWindow(0, folder / "missing.html"), 0);
}
