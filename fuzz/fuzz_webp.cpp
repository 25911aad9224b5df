// fuzz_webp.cpp - the webp plug-in's decoder on arbitrary memory images.
#include "webp/webp_decode.h"
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    return fuzzing::decodeAndFree(decodeWebp, data, size);
}
