// fuzz_heif.cpp - the heif plug-in's decoder on arbitrary memory images.
#include "heif/heif_decode.h"
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    return fuzzing::decodeAndFree(decodeHeif, data, size);
}
