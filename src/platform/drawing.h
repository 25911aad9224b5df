// drawing.h - what a window procedure draws while it handles Paint.
//
// Pixels come as plain bytes with their sizes; nothing here reads past the
// sizes given, and a picture whose header does not fit its bytes is not drawn.
#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include "platform/geometry.h"
#include "platform/window.h"

namespace platform {

// Copies a 24-bit surface (rows of blue, green, red bytes, bottom row first,
// `stride` bytes apart, `size` bytes in all) unscaled with its top-left at
// (x, y). 0 when the sizes do not fit.
int blitSurface(PaintContext* paint, int x, int y, const unsigned char* pixels, int width,
                int height, int stride, std::size_t size);

// Draws the `source` part of a DIB (header with palette, then its rows; see
// dib_layout.h) stretched with smoothing into `destination`. The source
// rectangle counts from the picture's top-left and is cut to the picture.
// 0 when the DIB is not one that can be drawn or does not fit its bytes.
int drawDibStretched(PaintContext* paint, const unsigned char* header, std::size_t headerSize,
                     const unsigned char* bits, std::size_t bitsSize, Rect destination,
                     Rect source);

// A picture reduced once with the smoothing of drawDibStretched, to be drawn
// many times; it holds its own pixels.
class ReducedPicture;
// The whole DIB reduced to `size`; null when the DIB cannot be drawn or `size`
// is larger than the picture in either direction. `threads` bounds the
// threads it uses (0: one per core); thread-safe.
std::shared_ptr<const ReducedPicture> reducePicture(const unsigned char* header,
                                                    std::size_t headerSize,
                                                    const unsigned char* bits,
                                                    std::size_t bitsSize, Size size,
                                                    int threads = 0);
Size reducedSize(const ReducedPicture& picture);
// Draws it unscaled with its top-left at `at`.
void drawReduced(PaintContext* paint, const ReducedPicture& picture, Point at);

// Fills the rectangles with `colour`.
void fillRegion(PaintContext* paint, std::span<const Rect> rects, Colour colour);

} // namespace platform
