// catalog_icons.h - the catalog window's pictures: its window icon, the
// toolbar's strip of button images and the rows' type icons.
#pragma once

#include "platform/geometry.h"
#include "platform/window.h"

namespace resources {

// "LIST" (32 x 32) and "LIST16" (16 x 16), the catalog window's icon.
const platform::IconImages& listIcon();

// Bitmap 146: ten 16 x 15 button images side by side (new, open, save, data
// input, up, down, add folder, add file, find, auto-fill).
const char* const* toolbarStrip();
inline constexpr platform::Size kToolbarImageSize{16, 15};

// FOLDER, PAINT and ARCHIVE, 16 x 16, in the order of the rows' type icons.
const char* const* folderIcon();
const char* const* paintIcon();
const char* const* archiveIcon();

} // namespace resources
