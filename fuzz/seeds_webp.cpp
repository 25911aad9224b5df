// seeds_webp.cpp - lossy, lossless and alpha WebP seeds.
#include "picture_fuzzing.h"
#include "sample_book/picture_encoders.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    return fuzzing::writeSeeds(argv[1], {encodeWebp(makePattern(21, 13, 3)), encodeWebp(makePattern(9, 9, 3), true),
                                         encodeWebp(makePattern(12, 8, 4), true), encodeWebp(makePattern(12, 8, 4))});
}
