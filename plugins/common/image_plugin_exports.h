// image_plugin_exports.h - the three exports of an image plug-in, written once.
// A plug-in's single source file expands VOXA_IMAGE_PLUGIN with its signature
// test, its decoder and its texts.
#pragma once

#include "common/plugin_io.h"

#define VOXA_IMAGE_PLUGIN(sniff, decode, about, patterns, description)                     \
    extern "C" {                                                                           \
    SPI_EXPORT int GetPluginInfo(int infono, char* buf, int buflen) {                      \
        static const char* const texts[] = {SPI_KIND_IMAGE, about, patterns, description}; \
        return spi::copyPluginInfo(texts, 4, infono, buf, buflen);                         \
    }                                                                                      \
    SPI_EXPORT int CallsMayOverlap() { return 1; }                                         \
    SPI_EXPORT int IsSupported(const char*, uintptr_t dw) {                                \
        return spi::isSupportedWith(sniff, dw);                                            \
    }                                                                                      \
    SPI_EXPORT int GetPicture(const char* buf, long len, unsigned int flag,                \
                              SpiHandle* pHBInfo, SpiHandle* pHBm, SpiProgressCallback,    \
                              long) {                                                      \
        return spi::getPictureWith(decode, buf, len, flag, pHBInfo, pHBm);                 \
    }                                                                                      \
    }
