#include "platform/install_layout.h"

#include <gtest/gtest.h>

using platform::installedDataFolder;
using platform::installPrefix;

TEST(InstallLayout, AnExecutableInLibVoxaIsInstalledUnderThePrefixAbove) {
    EXPECT_EQ(installPrefix("/usr/lib/voxa/"), "/usr/");
    EXPECT_EQ(installPrefix("/home/reader/.local/lib/voxa"), "/home/reader/.local/");
    EXPECT_EQ(installPrefix("/lib/voxa/"), "/");
    EXPECT_EQ(installedDataFolder("/usr/local/lib/voxa/"), "/usr/local/share/voxa/");
}

TEST(InstallLayout, AnyOtherFolderHoldsAViewerOfItsOwn) {
    EXPECT_EQ(installPrefix("/work/voxa/build/release/bin/"), "");
    EXPECT_EQ(installPrefix("/opt/mylib/voxa/"), ""); // "lib/voxa" inside a name
    EXPECT_EQ(installPrefix("lib/voxa/"), "");
    EXPECT_EQ(installPrefix("/usr/lib/voxa/plugins/"), "");
    EXPECT_EQ(installPrefix(""), "");
    EXPECT_EQ(installedDataFolder("/usr/bin/"), "");
}
