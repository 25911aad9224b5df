// seeds_heif.cpp - lossy, lossless, 10-bit and alpha HEIF seeds.
#include "picture_fuzzing.h"
#include "sample_book/heif_encoder.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    HeifOptions lossless, deep;
    lossless.lossless = true;
    deep.depth = 10;
    return fuzzing::writeSeeds(argv[1], {encodeHeif(makePattern(22, 14, 3)), encodeHeif(makePattern(10, 10, 3), lossless),
                                         encodeHeif(makePattern(12, 8, 4), lossless), encodeHeif(makePattern(16, 6, 3), deep)});
}
