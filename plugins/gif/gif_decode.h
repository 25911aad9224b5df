// gif_decode.h - the first frame of a GIF as an 8-bit DIB, on giflib.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

int isGif(const unsigned char* head, size_t size);

// The logical screen filled with the background (the transparent index when
// the frame has one, whose palette entry becomes white), the first frame drawn
// at its place, and the frame's palette (or the global one).
int decodeGif(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
