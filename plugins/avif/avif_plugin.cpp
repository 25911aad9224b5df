// avif_plugin.cpp - the exports of avif.spi.
#include "avif/avif_decode.h"
#include "common/image_plugin_exports.h"

VOXA_IMAGE_PLUGIN(isAvif, decodeAvif, "Voxa AVIF plug-in (libavif)", "*.avif;*.avifs", "AVIF files")
