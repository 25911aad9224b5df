// palette_rows.h - 8-bit palette rows in 24-bit form, 64 pixels a step.
#pragma once

#include <cstdint>

#include "platform/byte_permutes.h"

// The palette split into its blue, green and red bytes; `grey` when every
// index is its own grey, (i, i, i), as in a greyscale scan.
struct PaletteChannels {
    alignas(64) unsigned char channel[3][256];
    bool grey;
};

// Writes pixels [0, n) of the 8-bit row s to d as 24-bit pixels, n a
// multiple of 64, and returns n. Only where hasBytePermutes().
int paletteRowsWide(const unsigned char* s, unsigned char* d, int n,
                    const PaletteChannels& colours);
