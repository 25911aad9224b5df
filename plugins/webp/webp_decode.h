// webp_decode.h - still WebP pictures as 24-bit DIBs, on libwebp.
#pragma once

#include <cstddef>

#include "susie_plugin.h"

int isWebp(const unsigned char* head, size_t size);

// Alpha is composed over white; animations are refused (SPI_NOT_SUPPORT).
int decodeWebp(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits);
