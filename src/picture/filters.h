// filters.h - the colour filters, run in place once per loaded picture.
#pragma once

#include "picture/picture_buffer.h"

// FILTER values.
enum FilterValue {
    kFilterNone = 0,
    kNegative = 1,
    kBlur = 2,
    kSharpen = 3,
    kBrighten = 4,
    kDarken = 5,
    kBlockEdgeSmoothing = 6,
    kGrey = 7,
    kBlurII = 8,
};

// Runs filter `value` on the picture's rows. Pictures whose header named an
// explicit palette size (colorsUsed not 0) and depths other than 8 and 24
// bits are left unchanged, as are unknown values.
void applyFilter(PictureBuffer& picture, int value);
