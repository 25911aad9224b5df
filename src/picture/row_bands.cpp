#include "picture/row_bands.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace {

constexpr int kMaxBands = 64;
constexpr int kMaxThreads = 4;

int coreCount() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

} // namespace

std::vector<int> rowBandEdges(int rows, std::int64_t bytes) {
    if (rows <= 0) return {};
    const std::int64_t wanted =
        coreCount() < 2 || bytes < kBandMinBytes
            ? 1
            : std::min<std::int64_t>(bytes / (kBandMinBytes / 4), kMaxBands);
    const int bands = static_cast<int>(std::min<std::int64_t>(wanted, rows));
    std::vector<int> edges(bands + 1);
    for (int b = 0; b <= bands; ++b)
        edges[b] = static_cast<int>(std::int64_t{rows} * b / bands);
    return edges;
}

void forEachRowBand(const std::vector<int>& edges, const std::function<void(int, int)>& work) {
    const int bands = static_cast<int>(edges.size()) - 1;
    if (bands <= 0) return;
    std::atomic<int> next{0};
    const auto take = [&] {
        for (int b; (b = next.fetch_add(1, std::memory_order_relaxed)) < bands;)
            work(edges[b], edges[b + 1]);
    };
    std::vector<std::thread> helpers;
    const int threads = std::min({coreCount(), bands, kMaxThreads});
    for (int t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(take);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the bands left run here
        }
    }
    take();
    for (std::thread& t : helpers)
        t.join();
}
