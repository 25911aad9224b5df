// fuzz_jxl.cpp - the jxl plug-in's decoder on arbitrary memory images.
#include "jxl/jxl_decode.h"
#include "picture_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    return fuzzing::decodeAndFree(decodeJxl, data, size);
}
