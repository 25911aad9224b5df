// png_plugin.cpp - the exports of png.spi.
#include "common/image_plugin_exports.h"
#include "png/png_decode.h"

VOXA_IMAGE_PLUGIN(isPng, decodePng, "Voxa PNG plug-in (libpng)", "*.png", "PNG files")
