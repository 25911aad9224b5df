// derived_canvas.h - the canvas a derived HEIF picture (a grid of tiles, an
// overlay) declares in its own data. libheif allocates that canvas whatever
// the picture's header (its "ispe" size) says, so a file of a few kilobytes
// can claim gigabytes there; the canvas is read here, from the file's boxes,
// before libheif decodes anything.
#pragma once

#include <cstddef>
#include <cstdint>

// The largest canvas (by pixel count) among the file's grid and overlay
// items, found through the item information and item location boxes of its
// "meta" box. False when there is none, or none whose description could be
// read (libheif then refuses the file itself, or it has no such canvas).
bool largestDerivedCanvas(const unsigned char* data, size_t size, uint32_t& width, uint32_t& height);
