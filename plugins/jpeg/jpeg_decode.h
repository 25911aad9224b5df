// jpeg_decode.h - JPEG pictures into packed DIBs, on libjpeg-turbo.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

// Non-zero when the bytes start like a JPEG stream (SOI and a marker).
int isJpeg(const unsigned char* head, size_t size);

// Greyscale becomes 8 bits with a grey palette, everything else 24 bits
// (CMYK and YCCK converted). Returns an SPI_ result; on failure nothing is left
// allocated.
int decodeJpeg(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
