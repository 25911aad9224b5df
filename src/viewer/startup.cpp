#include "viewer/startup.h"

#include <memory>

#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/window.h"
#include "resources/command_ids.h"
#include "viewer/catalog_link.h"
#include "viewer/command_line.h"
#include "viewer/main_window.h"
#include "viewer/navigation.h"
#include "viewer/viewer.h"

void startupCommand() {
    Viewer& v = viewer();
    if (v.commandLine.empty()) return;
    const CommandLine line = parseCommandLine(v.commandLine);
    if (line.placement) {
        const platform::Rect rect = platform::rectAt(line.placement->x, line.placement->y,
                                                     line.placement->width,
                                                     line.placement->height);
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

int runViewer(int argc, char** argv) {
    if (!platform::startApplication(argc, argv)) return 1;
    int code = 1;
    {
        auto instance = std::make_unique<Viewer>(platform::executableFolder(), settingsLocation());
        setViewer(instance.get());
        for (int i = 1; i < argc; ++i) instance->commandLine.emplace_back(argv[i]);
        if (createMainWindow()) code = platform::runMessageLoop();
        platform::stopApplication(); // windows still open go while the viewer exists
        setViewer(nullptr);
    }
    return code;
}
