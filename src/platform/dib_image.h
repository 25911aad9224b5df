// dib_image.h - DIB pixels as a Qt image, for drawing and the clipboard.
#pragma once

#include <QImage>

#include "platform/dib_layout.h"
#include "platform/geometry.h"

namespace platform::detail {

// The `source` part (top-left origin, already inside the picture) of a DIB
// whose layout was checked against its bytes, as a top-down RGB32 image.
QImage dibToImage(const DibLayout& layout, const unsigned char* palette, const unsigned char* bits,
                  Rect source);

} // namespace platform::detail
