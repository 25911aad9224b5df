// heif_encoder.h - HEIF (HEVC) pictures written with libheif, for the tests,
// the fuzz seeds and the benchmarks.
#pragma once

#include <string>

#include "sample_book/picture_encoders.h"

namespace encoders {

struct HeifOptions {
    bool lossless = false; // 4:4:4 planes under the GBR matrix, so RGB comes back exact
    int quality = 90;      // lossy only, 0 to 100
    int depth = 8;         // 8 or 10 bits per sample (10: every sample v written as v * 4)
};

// channels 3 (RGB) or 4 (RGBA).
std::string encodeHeif(const Picture& picture, const HeifOptions& options = {});

} // namespace encoders
