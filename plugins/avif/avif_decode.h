// avif_decode.h - AVIF pictures into 24-bit DIBs, on libavif.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

// Non-zero when the bytes start with an ISO-BMFF "ftyp" box whose major or
// compatible brands name AVIF ("avif" for stills, "avis" for sequences).
int isAvif(const unsigned char* head, size_t size);

// The primary picture (the first frame of a sequence), its rotation and
// mirroring applied, samples deeper than 8 bits reduced, alpha composed over
// white. Pictures beyond the pixel cap are refused with SPI_NO_MEMORY before
// the AV1 decoder allocates anything. Returns an SPI_ result; on failure
// nothing is left allocated.
int decodeAvif(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
