// tiff_encoder.h - single and multi-page TIFF files written with libtiff, for
// the tests, the fuzz seeds, the benchmarks and the end-to-end tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sample_book/picture_encoders.h"

namespace encoders {

struct TiffPage {
    // channels 1 (grey, or palette indices when `paletteRgb` is given), 2 (grey
    // and alpha), 3 (RGB) or 4 (RGB and alpha, written unassociated).
    Picture picture;
    int bitsPerSample = 8;   // 1, 2, 4 (grey reduced, bilevel thresholded at 128), 8, or 16 (v as v * 257)
    int compression = 1;     // a libtiff COMPRESSION_ value: none, LZW, Deflate, PackBits, CCITT G4, JPEG ...
    bool minIsWhite = false; // grey and bilevel pages stored inverted
    int tileSide = 0;        // tiles of this side (a multiple of 16) instead of strips; 8 or 16 bits only
    int orientation = 1;     // the ORIENTATION_ tag
    bool reducedImage = false; // a thumbnail: NewSubfileType with the reduced-image bit
    bool separatePlanes = false;
    std::vector<std::uint8_t> paletteRgb; // 2^bitsPerSample RGB triples
};

std::string encodeTiff(const std::vector<TiffPage>& pages);

} // namespace encoders
