#include "viewer/startup.h"

#include <memory>

#include "platform/application.h"
#include "platform/file_system.h"
#include "viewer/main_window.h"
#include "viewer/viewer.h"

int runViewer(int argc, char** argv) {
    if (!platform::startApplication(argc, argv)) return 1;
    int code = 1;
    {
        auto instance = std::make_unique<Viewer>(platform::executableFolder(), settingsLocation());
        setViewer(instance.get());
        instance->commandLine = platform::applicationArguments();
        if (createMainWindow()) code = platform::runMessageLoop();
        platform::stopApplication(); // windows still open go while the viewer exists
        setViewer(nullptr);
    }
    return code;
}
