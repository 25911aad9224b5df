#include "viewer/viewer.h"

#include <cassert>
#include <chrono>

#include "platform/memory_block.h"

namespace {

Viewer* theViewer = nullptr;

} // namespace

Viewer::Viewer(const std::string& pluginFolder, SettingsLocation settingsFileLocation)
    : settingsFile(std::move(settingsFileLocation)), pages(pluginFolder), pagesAhead(pluginFolder),
      random(static_cast<unsigned>(
          std::chrono::system_clock::now().time_since_epoch().count())) {
    startupDefaults(settings);
    platform::keepFreedMemoryForReuse();
}

Viewer& viewer() {
    assert(theViewer && "the viewer is used before it was made");
    return *theViewer;
}

void setViewer(Viewer* instance) {
    theViewer = instance;
}

int randomBetween(int lo, int hi) {
    if (hi < lo) return lo;
    const unsigned span = static_cast<unsigned>(hi - lo) + 1;
    return lo + static_cast<int>(viewer().random() % span);
}
