// bmp_writer.h - BMP files and packed DIBs for test fixtures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// A BMP file of any layout, sound or forged: an info header of `infoSize`
// bytes holding the fields below, its bit-field masks at byte 40 (inside a
// longer header, after a 40-byte one), then `palette` and `pixels` as they
// stand. The pixel offset points just past the palette.
struct BmpParts {
    std::uint32_t infoSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks;
    std::string palette;
    std::string pixels;
};
std::string makeBmpFile(const BmpParts& parts);

} // namespace testing_support
