#include "viewer/slideshow.h"

#include "platform/menu.h"
#include "platform/window.h"
#include "resources/command_ids.h"
#include "viewer/viewer.h"

void startSlideshow() {
    Viewer& v = viewer();
    platform::checkMenuItem(v.menu, cmd::Slideshow, true);
    v.slideshowRunning = true;
    platform::setTimer(v.mainWindow, cmd::SlideshowTimer, v.settings.slidetime);
}

void toggleSlideshow() {
    Viewer& v = viewer();
    if (!v.slideshowRunning) {
        startSlideshow();
        return;
    }
    platform::checkMenuItem(v.menu, cmd::Slideshow, false);
    platform::killTimer(v.mainWindow, cmd::SlideshowTimer);
    v.slideshowRunning = false;
}
