// png_decode.h - PNG pictures into packed DIBs, on libpng.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

int isPng(const unsigned char* head, size_t size);

// Palette pictures without transparency keep their depth (1, 2, 4 or 8 bits)
// and palette; grey becomes 8 bits with a grey palette; 16-bit channels are
// reduced, alpha is composed over white, everything else is 24 bits.
int decodePng(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
