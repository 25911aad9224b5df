// list_file_writer.h - list files written straight from the format with
// texts as raw bytes: what any program that follows the format may write.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct FormatListFile {
    std::array<std::string, 26> names; // as stored: no zero byte, at most 255 bytes
    std::array<std::int32_t, 26> positions{};
    std::vector<std::int32_t> widths;  // one per visible column
    struct Row {
        std::int32_t icon = 0;
        std::vector<std::string> cells; // one per visible column, at most 1023 bytes
    };
    std::vector<Row> rows;
};

// Header (reserved fields 0, version 1, V = widths.size(), 26), the columns,
// the widths and the rows; nothing after the last cell.
std::string writeFormatListFile(const FormatListFile& file);

} // namespace testing_support
