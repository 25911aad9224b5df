// The plug-in information dialog through the real dialog: its title and the
// order of its lines.
#include "sources/plugin_info_dialog.h"

#include "platform/dialog_seam.h"
#include "resources/dialog_fixture.h"
#include "plugin_folder.h"

using namespace platform;

class PluginInfoDialog : public ui_test::DialogTest {};

TEST_F(PluginInfoDialog, ArchivePluginsStandAboveTheImagePluginsInRegistrationOrder) {
    testing_support::PluginFolder folder;
    folder.install("content");
    folder.install("archive");
    folder.install("zero");
    PluginHost host;
    host.loadPlugins(folder.path());
    ASSERT_EQ(host.imagePlugins().size(), 2u);
    std::vector<std::string> lines, expected = {"test archives"};
    for (const PluginRecord& plugin : host.imagePlugins())
        expected.push_back(plugin.infoText);
    ui_test::DialogAnswerer answerer([&](DialogId dialog) {
        EXPECT_EQ(dialogTitle(dialog), "Susie plug-in情報");
        lines = items(dialog, 1038);
        closeDialogWindow(dialog);
    });
    showPluginInformation(0, host);
    EXPECT_EQ(lines, expected);
    ASSERT_EQ(answerer.asked.size(), 1u);
    EXPECT_EQ(answerer.asked[0].resource, "LIST");
}
