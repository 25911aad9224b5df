#include "picture/row_bands.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace {

constexpr int kMaxBands = 4;

int coreCount() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

} // namespace

std::vector<int> rowBandEdges(int rows, std::int64_t bytes) {
    if (rows <= 0) return {};
    const int bands = bytes < kBandMinBytes ? 1 : std::min({coreCount(), rows, kMaxBands});
    std::vector<int> edges(bands + 1);
    for (int b = 0; b <= bands; ++b)
        edges[b] = static_cast<int>(std::int64_t{rows} * b / bands);
    return edges;
}

void forEachRowBand(const std::vector<int>& edges, const std::function<void(int, int)>& work) {
    if (edges.size() < 2) return;
    std::vector<std::thread> threads;
    for (std::size_t b = 0; b + 2 < edges.size(); ++b) {
        try {
            threads.emplace_back(work, edges[b], edges[b + 1]);
        } catch (const std::system_error&) {
            work(edges[b], edges[b + 1]); // no thread to be had: this band runs here
        }
    }
    work(edges[edges.size() - 2], edges.back());
    for (std::thread& t : threads)
        t.join();
}
