// row_bands.h - runs a row loop as bands of rows on the processor's cores.
#pragma once

#include <cstdint>
#include <functional>

// Calls work(first, last) for consecutive bands [first, last) that together
// cover rows 0 .. rows - 1, each band on its own thread and the last one on
// the calling thread, and returns when all are done. Work that touches fewer
// than kBandMinBytes bytes, or a machine of one core, runs as one band. The
// bands must not depend on one another.
void forEachRowBand(int rows, std::int64_t bytes, const std::function<void(int, int)>& work);

// Work below this many bytes is not worth a thread start.
inline constexpr std::int64_t kBandMinBytes = std::int64_t{1} << 19;
