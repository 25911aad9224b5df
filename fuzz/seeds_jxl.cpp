// seeds_jxl.cpp - lossy, lossless, 16-bit, alpha, oriented and boxed JPEG XL seeds.
#include "picture_fuzzing.h"
#include "sample_book/jxl_encoder.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    JxlOptions lossless, wide, turned;
    lossless.lossless = true;
    wide.lossless = true;
    wide.bitsPerSample = 16;
    wide.container = true;
    turned.orientation = 6;
    return fuzzing::writeSeeds(argv[1], {encodeJxl(makePattern(21, 13, 3)), encodeJxl(makePattern(9, 9, 3), lossless),
                                         encodeJxl(makePattern(12, 8, 4), lossless), encodeJxl(makePattern(10, 6, 2), wide),
                                         encodeJxl(makePattern(7, 5, 1), turned)});
}
