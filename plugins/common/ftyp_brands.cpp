// ftyp_brands.cpp - reading the brand list of an "ftyp" box.
#include "common/ftyp_brands.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace spi {

bool ftypNamesBrand(const unsigned char* head, size_t size, const char* const* brands, size_t count) {
    if (size < 16 || std::memcmp(head + 4, "ftyp", 4) != 0) return false;
    size_t boxSize = size_t(uint32_t(head[0]) << 24 | uint32_t(head[1]) << 16 | uint32_t(head[2]) << 8 | head[3]);
    if (boxSize < 16) return false;
    size_t end = std::min(boxSize, size);
    auto named = [&](size_t at) {
        for (size_t i = 0; i < count; ++i)
            if (std::memcmp(head + at, brands[i], 4) == 0) return true;
        return false;
    };
    if (named(8)) return true;
    // The minor version sits at 12; the compatible brands follow it.
    for (size_t at = 16; at + 4 <= end; at += 4)
        if (named(at)) return true;
    return false;
}

} // namespace spi
