#pragma once

#include <cstdint>

// 2^28 pixels (16384 x 16384): beyond any page scan, and its 24-bit DIB stays under 1 GiB.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 28;
