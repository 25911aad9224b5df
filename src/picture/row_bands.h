// row_bands.h - runs a row loop on the processor's cores.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Work below this many bytes is not worth a thread start.
inline constexpr std::int64_t kBandMinBytes = std::int64_t{1} << 19;

// Where rows 0 .. rows - 1 are cut into bands: band b is [edges[b],
// edges[b + 1]). One band for work that touches fewer than kBandMinBytes
// bytes or on a machine of one core; none for no rows.
std::vector<int> rowBandEdges(int rows, std::int64_t bytes);

// Calls work(first, last) for each band, each on its own thread and the last
// one on the calling thread, and returns when all are done. The bands must
// not depend on one another.
void forEachRowBand(const std::vector<int>& edges, const std::function<void(int, int)>& work);

inline void forEachRowBand(int rows, std::int64_t bytes,
                           const std::function<void(int, int)>& work) {
    forEachRowBand(rowBandEdges(rows, bytes), work);
}
