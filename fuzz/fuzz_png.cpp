// fuzz_png.cpp - the png plug-in's decoder on arbitrary memory images.
#include "png/png_decode.h"
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    return fuzzing::decodeAndFree(decodePng, data, size);
}
