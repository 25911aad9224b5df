// seeds_jpeg.cpp - baseline, progressive, grey and CMYK JPEG seeds.
#include "picture_fuzzing.h"
#include "sample_book/picture_encoders.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    return fuzzing::writeSeeds(argv[1], {encodeJpeg(makePattern(33, 17, 3), 80),
                                         encodeJpeg(makePattern(40, 24, 3), 70, true),
                                         encodeJpeg(makePattern(16, 9, 1)), encodeJpeg(makePattern(8, 8, 4))});
}
