// vector_clones.h - hot loops built for the processor they run on.
#pragma once

// A function marked VECTOR_CLONES is compiled three times on x86-64, for
// AVX-512 (x86-64-v4), for AVX2 and for the baseline, and the loader binds
// the one the processor can run, so the loops the compiler turns into vector
// code take 64 or 32 bytes a step where they can. Elsewhere it is an
// ordinary function.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VECTOR_CLONES [[gnu::target_clones("arch=x86-64-v4", "avx2", "default")]]
#else
#define VECTOR_CLONES
#endif
