// byte_permutes.h - whether the processor picks bytes out of whole vectors.
#pragma once

#include <cstdlib>

// Functions built with BYTE_PERMUTES use AVX-512 with its byte permutes
// (VBMI) and its 256-bit forms (VL); they may be called only where
// hasBytePermutes() says so. VOXA_NO_BYTE_PERMUTES in the environment turns
// them off, so that the paths for other processors can be tested here too.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VOXA_HAS_BYTE_PERMUTES 1
#define BYTE_PERMUTES [[gnu::target("avx512f,avx512bw,avx512vl,avx512vbmi")]]

inline bool hasBytePermutes() {
    static const bool has =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
        std::getenv("VOXA_NO_BYTE_PERMUTES") == nullptr;
    return has;
}
#else
#define VOXA_HAS_BYTE_PERMUTES 0
inline bool hasBytePermutes() {
    return false;
}
#endif
