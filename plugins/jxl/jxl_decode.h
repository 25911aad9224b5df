// jxl_decode.h - JPEG XL pictures into 24-bit DIBs, on libjxl.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

// Non-zero for a bare codestream (FF 0A) or the ISO box container.
int isJxl(const unsigned char* head, size_t size);

// The first frame, its orientation applied, in sRGB where the picture is
// stored in the codec's own colour space (the library converts those), deep
// samples reduced to 8 bits, alpha composed over white. Pictures beyond the
// pixel cap are refused with SPI_NO_MEMORY as soon as the header is read.
// Returns an SPI_ result; on failure nothing is left allocated.
int decodeJxl(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
