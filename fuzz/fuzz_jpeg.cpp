// fuzz_jpeg.cpp - the jpeg plug-in's decoder on arbitrary memory images.
#include "jpeg/jpeg_decode.h"
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    return fuzzing::decodeAndFree(decodeJpeg, data, size);
}
