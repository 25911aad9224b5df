// dib_reduce.h - the platform's smooth reduction of a picture for drawing:
// every destination pixel is the average of the source pixels under it, each
// weighted by how much of it lies under the destination pixel.
//
// No window system here: the drawing code wraps the result for painting.
#pragma once

#include <cstddef>

#include "platform/dib_layout.h"
#include "platform/geometry.h"

namespace platform {

// Reduces the `source` part of a DIB (rows as `layout` says, `palette` its
// entries) to `width` x `height` pixels, each no larger than the part, into
// `out`: 4 bytes per pixel (blue, green, red, 255), top row first, rows
// `outStride` bytes apart. Large pictures are split over up to `threads`
// threads (0: the processor's cores).
void reduceDib(const DibLayout& layout, const unsigned char* palette, const unsigned char* bits,
               Rect source, int width, int height, unsigned char* out, std::size_t outStride,
               int threads = 0);

} // namespace platform
