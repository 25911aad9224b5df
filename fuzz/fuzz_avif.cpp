// fuzz_avif.cpp - the avif plug-in's decoder on arbitrary memory images.
#include "avif/avif_decode.h"
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    return fuzzing::decodeAndFree(decodeAvif, data, size);
}
