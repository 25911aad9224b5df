// ftyp_brands.h - the brands of an ISO base media file's "ftyp" box, which
// tell AVIF and HEIF files (and the other members of the family) apart.
#pragma once

#include <cstddef>

namespace spi {

// True when the bytes open with an "ftyp" box whose major brand or one of its
// compatible brands is one of `brands` (four characters each). Only brands
// inside both the box and the `size` known bytes count.
bool ftypNamesBrand(const unsigned char* head, size_t size, const char* const* brands, size_t count);

} // namespace spi
