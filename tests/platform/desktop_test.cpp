#include "platform/desktop.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "platform/ui_fixture.h"
#include "support/bmp_writer.h"

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
