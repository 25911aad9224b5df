#include "picture/row_bands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> bandsOf(int rows, std::int64_t bytes) {
    std::mutex lock;
    std::vector<std::pair<int, int>> bands;
    forEachRowBand(rows, bytes, [&](int first, int last) {
        const std::lock_guard<std::mutex> hold(lock);
        bands.emplace_back(first, last);
    });
    std::sort(bands.begin(), bands.end());
    return bands;
}

TEST(RowBands, CoverEveryRowOnce) {
    for (int rows : {1, 2, 3, 1000}) {
        const auto bands = bandsOf(rows, kBandMinBytes);
        ASSERT_FALSE(bands.empty());
        EXPECT_EQ(bands.front().first, 0);
        EXPECT_EQ(bands.back().second, rows);
        for (std::size_t k = 0; k + 1 < bands.size(); ++k)
            EXPECT_EQ(bands[k].second, bands[k + 1].first);
        for (const auto& band : bands)
            EXPECT_LT(band.first, band.second);
    }
}

TEST(RowBands, SmallWorkAndNoRows) {
    EXPECT_EQ(bandsOf(1000, kBandMinBytes - 1), (std::vector<std::pair<int, int>>{{0, 1000}}));
    EXPECT_TRUE(bandsOf(0, kBandMinBytes).empty());
}

} // namespace
