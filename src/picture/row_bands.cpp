#include "picture/row_bands.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace {

constexpr int kMaxBands = 4;
// Pixels a row waits for and hands on at a time when rows run in step.
constexpr int kStepColumns = 512;

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

void forEachRowInStep(int first, int last, int columns, std::int64_t bytes,
                      const std::function<void(int, int, int)>& work) {
    if (first >= last || columns <= 0) return;
    const auto wholeRows = [&](int from, int step) {
        for (int y = from; y < last; y += step)
            work(y, 0, columns);
    };
    if (last - first < 2 || bytes < kBandMinBytes || coreCount() < 2) {
        wholeRows(first, 1);
        return;
    }
    // done[p]: the pixels finished by the thread of rows first + p, first + p
    // + 2, ..., counted as (row - first) x columns + column.
    std::atomic<std::int64_t> done[2] = {0, 0};
    const auto rows = [&](int parity) {
        std::atomic<std::int64_t>& mine = done[parity];
        const std::atomic<std::int64_t>& below = done[1 - parity];
        for (int y = first + parity; y < last; y += 2) {
            const std::int64_t base = std::int64_t{y - first} * columns;
            for (int x0 = 0; x0 < columns; x0 += kStepColumns) {
                const int x1 = std::min(x0 + kStepColumns, columns);
                if (y > first)
                    while (below.load(std::memory_order_acquire) < base - columns + x1)
                        std::this_thread::yield();
                work(y, x0, x1);
                mine.store(base + x1, std::memory_order_release);
            }
        }
    };
    std::thread odd;
    try {
        odd = std::thread(rows, 1);
    } catch (const std::system_error&) {
        wholeRows(first, 1); // no thread to be had: all rows run here, in order
        return;
    }
    rows(0);
    odd.join();
}
