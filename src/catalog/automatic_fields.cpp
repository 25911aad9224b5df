#include "catalog/automatic_fields.h"

#include <algorithm>

#include "sources/entry_statistics.h"

namespace {

bool anyVisible(const CatalogList& list, std::initializer_list<int> ids) {
    return std::any_of(ids.begin(), ids.end(),
                       [&](int id) { return columnPosition(list, id) >= 0; });
}

// How deep the statistics must go for the visible columns, the deepest need
// winning; 0 when no automatic column is visible.
int depthFor(const CatalogList& list) {
    if (anyVisible(list, {kColumnJpegCount, kColumnJpegErrors, kColumnTotalSize, kColumnAverageSize,
                          kColumnMedianSize, kColumnAvgX, kColumnAvgY, kColumnMidX, kColumnMidY}))
        return kFullStatistics;
    if (anyVisible(list, {kColumnTotalFiles})) return kFileCount;
    if (anyVisible(list, {kColumnUpdated, kColumnAdded, kColumnCdName})) return kDatesOnly;
    return 0;
}

} // namespace

bool fillAutomaticFields(CatalogList& list, const std::string& path, int row) {
    const int depth = depthFor(list);
    if (depth == 0) return false;
    if (row < 0 || std::size_t(row) >= list.rows.size()) return true;
    EntryStatistics record;
    collectStatistics(path, depth, record);
    // Sizes are 64-bit and unsigned: a folder of scans past 2 GiB shows its
    // true size, not a negative number.
    const std::pair<int, std::string> cells[] = {
        {kColumnUpdated, record.updated},
        {kColumnAdded, record.added},
        {kColumnCdName, record.cdName},
        {kColumnTotalFiles, std::to_string(record.totalFiles)},
        {kColumnJpegCount, std::to_string(record.jpegCount)},
        {kColumnJpegErrors, std::to_string(record.jpegErrors)},
        {kColumnTotalSize, std::to_string(record.totalSize)},
        {kColumnAverageSize, std::to_string(record.averageSize)},
        {kColumnMedianSize, std::to_string(record.medianSize)},
        {kColumnAvgX, std::to_string(record.avgX)},
        {kColumnAvgY, std::to_string(record.avgY)},
        {kColumnMidX, std::to_string(record.midX)},
        {kColumnMidY, std::to_string(record.midY)},
    };
    RowCells& texts = list.rows[std::size_t(row)].cells;
    for (const auto& [id, text] : cells) {
        const int position = columnPosition(list, id);
        if (position < 0) continue;
        if (std::size_t(position) >= texts.size()) texts.resize(std::size_t(position) + 1);
        texts.set(std::size_t(position), text);
    }
    return true;
}
