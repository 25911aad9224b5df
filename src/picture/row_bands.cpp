#include "picture/row_bands.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxBands = 4;

int bandCount(int rows, std::int64_t bytes) {
    if (bytes < kBandMinBytes) return 1;
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(std::min(cores, rows), 1, kMaxBands);
}

} // namespace

void forEachRowBand(int rows, std::int64_t bytes, const std::function<void(int, int)>& work) {
    if (rows <= 0) return;
    const int bands = bandCount(rows, bytes);
    std::vector<std::thread> threads;
    int first = 0;
    for (int b = 0; b < bands - 1; ++b) {
        const int last = static_cast<int>(std::int64_t{rows} * (b + 1) / bands);
        try {
            threads.emplace_back(work, first, last);
        } catch (const std::system_error&) {
            work(first, last); // no thread to be had: this band runs here
        }
        first = last;
    }
    work(first, rows);
    for (std::thread& t : threads)
        t.join();
}
