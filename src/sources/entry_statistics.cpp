#include "sources/entry_statistics.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/file_system.h"
#include "platform/read_only_file.h"
#include "platform/text_compare.h"
#include "platform/volume_label.h"
#include "sources/jpeg_check.h"
#include "sources/page_list.h"

namespace {

struct JpegFacts {
    std::uint64_t size = 0;
    int width = 0;
    int height = 0;
    int result = kNotJpeg;
};

// Walks the file's markers; nothing when it cannot be opened.
std::optional<JpegFacts> examine(const std::string& path) {
    platform::ReadOnlyFile file(path);
    if (!file.isOpen()) return std::nullopt;
    JpegFacts facts;
    facts.size = file.size();
    facts.result = checkJpegFile(file, facts.size, &facts.width, &facts.height);
    return facts;
}

bool hasJpegExtension(const std::string& name) {
    std::string extension;
    return extensionOf(name, extension) && (platform::equalsNoCase(extension, ".jpg") ||
                                            platform::equalsNoCase(extension, ".jpeg"));
}

// Element n / 2 of the sorted values: the upper middle for an even count.
template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void scanFolder(const std::string& folder, EntryStatistics& record) {
    auto listing = platform::listFolder(folder);
    if (!listing) return;
    // The tables grow with the folder: ten thousand JPEG files are no limit.
    std::vector<std::uint64_t> sizes;
    std::vector<std::int32_t> widths, heights;
    for (const platform::FolderEntry& entry : *listing) {
        if (entry.isFolder) continue;
        ++record.totalFiles;
        if (!hasJpegExtension(entry.name)) continue;
        const std::string path = platform::joinPath(folder, entry.name);
        // A listed file that cannot be read counts as broken, with the size
        // the folder reports for it.
        JpegFacts facts = examine(path).value_or(
            JpegFacts{platform::fileSize(path).value_or(0), 0, 0, kJpegBroken});
        if (facts.result != kJpegWellFormed) ++record.jpegErrors;
        sizes.push_back(facts.size);
        widths.push_back(facts.width);
        heights.push_back(facts.height);
    }
    record.jpegCount = static_cast<std::int32_t>(sizes.size());
    if (sizes.empty()) return;
    std::int64_t widthSum = 0, heightSum = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        record.totalSize += sizes[i];
        widthSum += widths[i];
        heightSum += heights[i];
    }
    const auto n = static_cast<std::int64_t>(sizes.size());
    record.averageSize = record.totalSize / static_cast<std::uint64_t>(n);
    record.avgX = static_cast<std::int32_t>(widthSum / n);
    record.avgY = static_cast<std::int32_t>(heightSum / n);
    record.medianSize = median(sizes);
    record.midX = median(widths);
    record.midY = median(heights);
}

void countFiles(const std::string& folder, EntryStatistics& record) {
    auto listing = platform::listFolder(folder);
    if (!listing) return;
    for (const platform::FolderEntry& entry : *listing)
        if (!entry.isFolder) ++record.totalFiles;
}

// A single file is judged by its content, whatever its name.
void examineFile(const std::string& path, EntryStatistics& record) {
    record.totalFiles = 1;
    record.totalSize = record.averageSize = record.medianSize =
        platform::fileSize(path).value_or(0);
    auto facts = examine(path);
    if (!facts || facts->result == kNotJpeg) return;
    record.jpegCount = 1;
    record.avgX = record.midX = facts->width;
    record.avgY = record.midY = facts->height;
    if (facts->result == kJpegBroken) record.jpegErrors = 1;
}

} // namespace

std::string dateText(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

void collectStatistics(const std::string& path, int depth, EntryStatistics& record) {
    record = EntryStatistics{};
    record.path = path;
    auto modified = platform::lastWriteTime(path);
    if (!modified) return;
    record.updated = dateText(*modified);
    record.added = dateText(std::time(nullptr));
    record.cdName = platform::removableVolumeLabel(path);
    if (depth == kDatesOnly) return;
    if (platform::pathKind(path) == platform::PathKind::Folder) {
        if (depth == kFullStatistics)
            scanFolder(path, record);
        else if (depth == kFileCount)
            countFiles(path, record);
        return;
    }
    examineFile(path, record);
}
