// jxl_encoder.h - JPEG XL pictures written with libjxl, for the tests, the
// fuzz seeds and the benchmarks.
#pragma once

#include <string>

#include "sample_book/picture_encoders.h"

namespace encoders {

struct JxlOptions {
    bool lossless = false;
    float distance = 1.0f;  // lossy only: 0.1 (near lossless) to 15
    int bitsPerSample = 8;  // 8, or 16 with every sample v written as v * 257
    int orientation = 1;    // the Exif orientation the decoder is to apply
    bool container = false; // the ISO box container instead of a bare codestream
    int effort = 3;         // 1 (fastest) to 9
    bool linearLight = false; // the samples declared linear-light sRGB instead of sRGB
};

// channels 1 (grey), 2 (grey and alpha), 3 (RGB) or 4 (RGBA).
std::string encodeJxl(const Picture& picture, const JxlOptions& options = {});

} // namespace encoders
