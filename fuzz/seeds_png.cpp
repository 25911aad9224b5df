// seeds_png.cpp - PNG seeds of every colour type, 16 bits, interlaced, palette.
#include "picture_fuzzing.h"
#include "sample_book/picture_encoders.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    std::vector<std::uint8_t> palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    std::vector<std::uint8_t> indices(12 * 5);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = std::uint8_t(i % 4);
    return fuzzing::writeSeeds(argv[1], {encodePng(makePattern(13, 7, 3)), encodePng(makePattern(9, 9, 4), 16),
                                         encodePng(makePattern(11, 6, 1), 8, true), encodePng(makePattern(5, 5, 2)),
                                         encodePalettePng(12, 5, indices, palette, 2),
                                         encodePalettePng(12, 5, indices, palette, 8, {0, 128})});
}
