#include "catalog/disc_prompt.h"

#include <cstdio>

#include "catalog/catalog_view.h"
#include "platform/file_system.h"
#include "platform/modal.h"
#include "platform/text_encoding.h"
#include "platform/volume_label.h"

bool promptForDisc(CatalogWindow& catalog, const std::string& path, bool& opened) {
    opened = false;
    if (columnPosition(catalog.list, kColumnCdName) < 0) return false;
    // A path that is there failed for another reason.
    if (platform::pathKind(path) != platform::PathKind::Missing) return false;
    const std::string disc(platform::utf8Prefix(
        cellOf(catalog, firstSelectedRow(catalog), kColumnCdName), platform::kVolumeLabelLimit));
    if (!platform::isOnRemovableMedia(path)) return false;
    char text[128];
    std::snprintf(text, sizeof text, kDiscPromptText, disc.c_str());
    if (platform::messageBox(catalog.viewer.mainWindow, text, kDiscPromptCaption,
                             platform::MessageButtons::RetryCancel) !=
        platform::DialogResult::Retry)
        return false;
    // The open that follows Retry speaks for itself: a success is not claimed
    // for a disc that is still out.
    opened = catalog.viewer.openPath && catalog.viewer.openPath(path);
    return true;
}
