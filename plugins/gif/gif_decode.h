// gif_decode.h - the first frame of a GIF as an 8-bit DIB, on giflib.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

int isGif(const unsigned char* head, size_t size);

// The first frame at its own size (the logical screen around it is left
// out), with the frame's palette (or the global one); its transparent
// pixels take the transparent index, whose palette entry becomes white.
int decodeGif(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
