// seeds_avif.cpp - lossy, lossless, deep, alpha and turned AVIF seeds.
#include "picture_fuzzing.h"
#include "sample_book/avif_encoder.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    AvifOptions lossless, deep, turned;
    lossless.lossless = true;
    deep.depth = 10;
    turned.rotation = 1;
    turned.mirror = 0;
    return fuzzing::writeSeeds(argv[1], {encodeAvif(makePattern(21, 13, 3)), encodeAvif(makePattern(9, 9, 3), lossless),
                                         encodeAvif(makePattern(12, 8, 4), lossless), encodeAvif(makePattern(16, 6, 3), deep),
                                         encodeAvif(makePattern(7, 5, 1), turned)});
}
