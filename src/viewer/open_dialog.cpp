#include "viewer/open_dialog.h"

#include "platform/modal.h"
#include "platform/window.h"
#include "viewer/navigation.h"
#include "viewer/viewer.h"

bool runOpenDialog() {
    Viewer& v = viewer();
    platform::FileDialogRequest request;
    request.owner = v.mainWindow;
    request.title = "開く";
    request.filter = v.pages.host.openFilter();
    if (v.layout.shownCount) request.folder = v.pages.folder;
    request.defaultExtension = "bmp";
    // A translucent dialog is placed near the middle of the work area.
    if (v.settings.transparency != 255) {
        request.opacity = v.settings.transparency;
        const platform::Rect work = platform::workArea();
        request.position = platform::Point{work.right / 2 - 300, work.bottom / 2 - 200};
    }
    const std::optional<std::string> path = platform::openFileDialog(request);
    return path && openPath(*path);
}
