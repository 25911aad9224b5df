// colour_waves.h - the 24-bit blur and blur II sixteen rows at a time.
#pragma once

#include <cstddef>

#include "platform/byte_permutes.h"

inline constexpr int kColourWaveRows = 16;

// Pixels [x0, x1) of the kColourWaveRows rows from r0 up, where the row
// below r0 and pixel x0 - 1 of every one of them are finished; x0 is at least
// 1 and x1 at most the row's width. A job with x1 <= x0 is none.
struct WaveJob {
    unsigned char* r0;
    int x0, x1;
};

// Blurs, or blurs II, the two jobs side by side, rows `stride` bytes apart;
// they must not touch one another's pixels. Reads and writes nothing outside
// pixels x0 - 1 .. x1 - 1 of a job's rows and x0 .. x1 - 1 of the row below.
// Only where hasBytePermutes().
void blurWaves(std::ptrdiff_t stride, const WaveJob (&jobs)[2]);
void blurIIWaves(std::ptrdiff_t stride, const WaveJob (&jobs)[2]);
