// row_bands.h - runs a row loop on the processor's cores.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Work below this many bytes is not worth a thread start.
inline constexpr std::int64_t kBandMinBytes = std::int64_t{1} << 19;

// Where rows 0 .. rows - 1 are cut into bands: band b is [edges[b],
// edges[b + 1]). One band for work that touches fewer than kBandMinBytes
// bytes or on a machine of one core, otherwise bands of about a quarter of
// that many bytes (at most 64 of them); none for no rows.
std::vector<int> rowBandEdges(int rows, std::int64_t bytes);

// Calls work(first, last) for each band and returns when all are done. The
// calling thread and one more per further core take the bands in turn as they
// come free, so a core that other programs keep busy holds up no more than
// the band it has. The bands must not depend on one another.
void forEachRowBand(const std::vector<int>& edges, const std::function<void(int, int)>& work);

inline void forEachRowBand(int rows, std::int64_t bytes,
                           const std::function<void(int, int)>& work) {
    forEachRowBand(rowBandEdges(rows, bytes), work);
}
