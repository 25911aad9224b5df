// heif_decode.h - HEIF (HEVC) pictures into 24-bit DIBs, on libheif.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

// Non-zero when the bytes start with an "ftyp" box naming an HEVC brand, or
// only the generic still and sequence brands. Files naming AVIF are left to
// the AVIF plug-in, so the answer does not depend on the plug-ins' order.
int isHeif(const unsigned char* head, size_t size);

// The primary picture, its rotation, mirroring and crop applied, converted
// to RGB through its colour description, deeper samples reduced to 8 bits,
// alpha composed over white. Pictures beyond the pixel cap (a grid's or an
// overlay's canvas included), or whose decoding would pass the decoder's
// share, are refused with SPI_NO_MEMORY before they are decoded. Returns an SPI_ result; on failure
// nothing is left allocated.
int decodeHeif(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
