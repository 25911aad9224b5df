// jxl_plugin.cpp - the exports of jxl.spi.
#include "common/image_plugin_exports.h"
#include "jxl/jxl_decode.h"

VOXA_IMAGE_PLUGIN(isJxl, decodeJxl, "Voxa JPEG XL plug-in (libjxl)", "*.jxl", "JPEG XL files")
