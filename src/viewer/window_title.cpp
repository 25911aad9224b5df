#include "viewer/window_title.h"

#include "viewer/viewer.h"

namespace {

std::string entryName(int index) {
    const PageList& pages = viewer().pages;
    if (index < 0 || index >= static_cast<int>(pages.entries.size())) return {};
    return pages.entries[static_cast<std::size_t>(index)];
}

} // namespace

std::string windowTitle() {
    const Viewer& v = viewer();
    const ViewLayout& layout = v.layout;
    const PageList& pages = v.pages;
    if (!layout.shownCount) return "Voxa";
    std::string title;
    if (layout.shownCount == 1) {
        title = entryName(pages.currentIndex);
        if (v.normalMode() && layout.zoomIndex != kActualSizeZoom && layout.zoomIndex >= 0 &&
            layout.zoomIndex < kZoomStepCount)
            title += std::string(" x") + kZoomLabels[layout.zoomIndex];
    } else {
        int other = pages.currentIndex - 1;
        if (other < 0) other = pages.pageCount - 1;
        title = v.settings.RightorLeft ? entryName(pages.currentIndex) + " " + entryName(other)
                                       : entryName(other) + " " + entryName(pages.currentIndex);
    }
    if (v.settings.dispdirectory)
        title = (pages.archiveMode ? pages.archiveName : pages.folderName) + " " + title;
    return title;
}
