#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QWidget>

#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/ui_fixture.h"
#include "platform/window.h"
#include "platform/window_host.h"
#include "resources/catalog_icons.h"
#include "resources/icons.h"
#include "resources/version.h"
#include "support/temp_folder.h"

namespace {
int ignore(platform::WindowId, platform::MessageKind, const platform::MessageParams&) {
    return 0;
}
} // namespace

TEST(Version, TheMessageReadsZeroPointEightOneFour) {
    EXPECT_EQ(resources::versionText(), "Voxa Ver 0.814 \n  \n");
    EXPECT_STREQ(resources::kVersionCaption, "VOXA..");
}

TEST(HelpPage, LiesBesideTheExecutable) {
    std::string page = std::string(VOXA_RUNTIME_FOLDER) + "/" + resources::kHelpPageName;
    std::string text = platform::readFile(page).value_or("");
    EXPECT_NE(text.find("<html"), std::string::npos);
    EXPECT_NE(text.find("Voxa"), std::string::npos);
}

TEST(HelpPage, AnInstalledViewerOpensTheInstalledPage) {
    testing_support::TempFolder dir;
    const std::string program = dir / "prefix/lib/voxa/";
    testing_support::makeFolder(program);
    // Nothing installed yet: the path names the place beside the executable.
    EXPECT_EQ(resources::helpPagePath(program), program + resources::kHelpPageName);
    testing_support::writeFile(dir / "prefix/share/voxa/voxa_help.html", "<html>");
    EXPECT_EQ(resources::helpPagePath(program), dir / "prefix/share/voxa/voxa_help.html");
    // A page beside the executable wins.
    testing_support::writeFile(program + resources::kHelpPageName, "<html>");
    EXPECT_EQ(resources::helpPagePath(program), program + resources::kHelpPageName);
}

TEST(HelpPage, AViewerOfItsOwnLooksOnlyBesideItself) {
    testing_support::TempFolder dir;
    testing_support::writeFile(dir / "share/voxa/voxa_help.html", "<html>");
    EXPECT_EQ(resources::helpPagePath(dir / "bin/"), dir / "bin/voxa_help.html");
}

TEST(Icons, BothFormsReadAsImagesAndTheWindowShowsThem) {
    ui_test::startTestApplication();
    const platform::IconImages& icon = resources::voxaIcon();
    QImage large(icon.large), small(icon.small);
    EXPECT_EQ(large.size(), QSize(32, 32));
    EXPECT_EQ(small.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(large.pixel(0, 0)), 0); // a rounded corner
    EXPECT_EQ(qAlpha(large.pixel(16, 16)), 255);

    platform::WindowClass windowClass{"IconTest", ignore, {}, false, platform::CursorShape::Arrow,
                                      icon};
    ASSERT_EQ(platform::registerWindowClass(windowClass), 1);
    platform::WindowCreation creation;
    creation.className = "IconTest";
    creation.rect = platform::rectAt(0, 0, 100, 100);
    platform::WindowId window = platform::createWindow(creation);
    QIcon shown = platform::detail::frameWidget(window)->windowIcon();
    EXPECT_EQ(shown.availableSizes(), (QList<QSize>{QSize(32, 32), QSize(16, 16)}));
    platform::destroyWindow(window);
    platform::processPendingMessages();
}

TEST(Icons, TheCatalogsPicturesHaveTheirSizes) {
    ui_test::startTestApplication();
    EXPECT_EQ(QImage(resources::listIcon().large).size(), QSize(32, 32));
    EXPECT_EQ(QImage(resources::listIcon().small).size(), QSize(16, 16));
    EXPECT_EQ(QImage(resources::toolbarStrip()).size(), QSize(160, 15));
    for (const char* const* icon : {resources::folderIcon(), resources::paintIcon(), resources::archiveIcon()})
        EXPECT_EQ(QImage(icon).size(), QSize(16, 16));
}
