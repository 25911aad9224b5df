// avx512_intrinsics.h - the vector intrinsics, for the files that use AVX-512.
#pragma once

// GCC 12 warns that the undefined first operand the unmasked AVX-512
// intrinsics pass on is used uninitialised; the warning is false (GCC 13 no
// longer gives it) and belongs to the intrinsics' own text. Clang knows no
// such warning.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif
