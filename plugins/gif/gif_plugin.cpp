// gif_plugin.cpp - the exports of gif.spi.
#include "common/image_plugin_exports.h"
#include "gif/gif_decode.h"

VOXA_IMAGE_PLUGIN(isGif, decodeGif, "Voxa GIF plug-in (giflib)", "*.gif", "GIF files")
