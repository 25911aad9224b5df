// blur_wave.h - the 24-bit blur sixteen rows at a time.
#pragma once

#include <cstddef>

#include "picture/byte_permutes.h"

inline constexpr int kBlurWaveRows = 16;

// Blurs pixels [x0, x1) of the kBlurWaveRows rows from r0 up, rows `stride`
// bytes apart, where the row below r0 and pixel x0 - 1 of every one of them
// are finished; x0 is at least 1 and x1 at most the row's width. Reads and
// writes nothing outside pixels x0 - 1 .. x1 - 1 of those rows and x0 .. x1 - 1
// of the row below. Only where hasBytePermutes().
void blurColourWave(unsigned char* r0, std::ptrdiff_t stride, int x0, int x1);
