// picture_limits.h - the largest picture any reader of Voxa decodes.
#pragma once

#include <cstdint>

// 2^28 pixels (16384 x 16384) holds any real scan, and its 24-bit form (768 MiB) still fits in memory.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{1} << 28;
