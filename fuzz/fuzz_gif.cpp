// fuzz_gif.cpp - the gif plug-in's decoder on arbitrary memory images.
#include "gif/gif_decode.h"
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    return fuzzing::decodeAndFree(decodeGif, data, size);
}
