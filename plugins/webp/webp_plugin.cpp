// webp_plugin.cpp - the exports of webp.spi.
#include "common/image_plugin_exports.h"
#include "webp/webp_decode.h"

VOXA_IMAGE_PLUGIN(isWebp, decodeWebp, "Voxa WebP plug-in (libwebp)", "*.webp", "WebP files")
