// heif_plugin.cpp - the exports of heif.spi.
#include "common/image_plugin_exports.h"
#include "heif/heif_decode.h"

VOXA_IMAGE_PLUGIN(isHeif, decodeHeif, "Voxa HEIF plug-in (libheif)", "*.heic;*.heif;*.hif", "HEIF files")
