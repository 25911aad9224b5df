// jpeg_plugin.cpp - the exports of jpeg.spi.
#include "common/image_plugin_exports.h"
#include "jpeg/jpeg_decode.h"

VOXA_IMAGE_PLUGIN(isJpeg, decodeJpeg, "Voxa JPEG plug-in (libjpeg-turbo)",
                  "*.jpg;*.jpeg;*.jpe;*.jfif", "JPEG files")
