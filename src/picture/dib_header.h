// dib_header.h - little-endian field access in a BITMAPINFOHEADER.
#pragma once

#include <cstdint>
#include <cstring>

inline constexpr int kInfoHeaderSize = 40;
inline constexpr int kOffWidth = 4;
inline constexpr int kOffHeight = 8;
inline constexpr int kOffBitCount = 14;
inline constexpr int kOffCompression = 16;
inline constexpr int kOffClrUsed = 32;

inline std::int32_t readI32(const unsigned char* p) {
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}
inline void writeI32(unsigned char* p, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(u >> (8 * i));
}
inline int readU16(const unsigned char* p) {
    return p[0] | p[1] << 8;
}
inline void writeU16(unsigned char* p, int v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
