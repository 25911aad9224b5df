// avif_encoder.h - AVIF pictures written with libavif, for the tests, the fuzz
// seeds and the benchmarks.
#pragma once

#include <string>

#include "sample_book/picture_encoders.h"

namespace encoders {

struct AvifOptions {
    bool lossless = false; // 4:4:4 with the identity matrix and quantizer 0
    int quality = 80;      // 0 to 100, lossy only
    int depth = 8;         // 8, 10 or 12 bits per sample
    int rotation = 0;      // irot: quarter turns anticlockwise, 0 for none
    int mirror = -1;       // imir mode (0 top and bottom, 1 left and right), -1 for none
};

// channels 1 (grey), 3 (RGB) or 4 (RGBA).
std::string encodeAvif(const Picture& picture, const AvifOptions& options = {});

} // namespace encoders
