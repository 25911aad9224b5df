// seeds_gif.cpp - plain, interlaced and transparent GIF seeds.
#include "picture_fuzzing.h"
#include "sample_book/picture_encoders.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::vector<std::uint8_t> palette, indices(17 * 9);
    for (int i = 0; i < 16; ++i) palette.insert(palette.end(), {std::uint8_t(i * 16), 0, std::uint8_t(255 - i)});
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = std::uint8_t(i % 16);
    return fuzzing::writeSeeds(argv[1], {encoders::encodeGif(17, 9, indices, palette),
                                         encoders::encodeGif(17, 9, indices, palette, 3, true)});
}
