// bmp_writer.h - BMP files and packed DIBs for test fixtures.
#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

// A packed DIB (40-byte BITMAPINFOHEADER, palette, bottom-up rows padded to 4
// bytes) of the given depth (1, 2, 4, 8, 16 or 24) whose pixel bytes follow a
// pattern seeded by `seed`. Palettes are full for the depth, entry i = (i, 255-i, i/2).
struct Dib {
    std::string header; // header and palette
    std::string bits;   // pixel rows
};
Dib makeDib(int width, int height, int bitCount, std::uint32_t seed = 1);

// The same picture as a BMP file: "BM", the 14-byte file header, then the DIB.
std::string makeBmp(int width, int height, int bitCount, std::uint32_t seed = 1);

} // namespace testing_support
