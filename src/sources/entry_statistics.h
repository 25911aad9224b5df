// entry_statistics.h - facts about a folder or file for the catalog: dates,
// the removable disc's label, and statistics of the JPEG pictures it holds.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

struct EntryStatistics {
    std::string path;
    std::string updated; // last-write time, as dateText
    std::string added;   // the time of collection, as dateText
    std::string cdName;  // label of the removable disc, else empty
    std::int32_t totalFiles = 0;
    std::int32_t jpegCount = 0;
    std::int32_t jpegErrors = 0;
    // Sizes in bytes, in 64 bits: a folder of scans passes 4 GiB.
    std::uint64_t totalSize = 0;
    std::uint64_t averageSize = 0;
    std::uint64_t medianSize = 0;
    std::int32_t avgX = 0;
    std::int32_t avgY = 0;
    std::int32_t midX = 0;
    std::int32_t midY = 0;
};

// How deep collectStatistics goes.
enum StatisticsDepth { kFullStatistics = 1, kFileCount = 2, kDatesOnly = 3 };

// Fills `record` for `path`. A path that is not there leaves everything but
// `path` empty; a folder that cannot be listed leaves the numbers 0. A JPEG
// is judged by a walk over its markers, which reads its header and its last
// bytes, never the whole file.
void collectStatistics(const std::string& path, int depth, EntryStatistics& record);

// "2003/05/01 09:07": year, month, day, hour and minute in local time.
std::string dateText(std::time_t time);
