#include "viewer/startup_command.h"

#include "platform/window.h"
#include "resources/command_ids.h"
#include "viewer/catalog_link.h"
#include "viewer/command_line.h"
#include "viewer/navigation.h"
#include "viewer/viewer.h"

void startupCommand() {
    Viewer& v = viewer();
    if (v.commandLine.empty()) return;
    const CommandLine line = parseCommandLine(v.commandLine);
    if (line.placement) {
        const platform::Rect rect = placementOnScreen(*line.placement, platform::screenArea());
        platform::moveWindow(v.mainWindow, rect, true);
        v.layout.twoPageWindowRect = rect;
    }
    if (line.slideshow) platform::postCommand(v.mainWindow, cmd::Slideshow);
    if (line.fullScreen) platform::sendCommand(v.mainWindow, cmd::FullScreen);
    if (line.normalMode) platform::sendCommand(v.mainWindow, cmd::NormalMode);
    if (line.twoPageMode) platform::sendCommand(v.mainWindow, cmd::TwoPageMode);
    if (!line.path.empty()) openPath(line.path);
    if (line.fitWindow) platform::postCommand(v.mainWindow, cmd::FitWindowToPicture);
    if (line.showCatalog) showCatalog();
}
