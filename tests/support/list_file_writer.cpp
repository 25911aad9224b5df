#include "support/list_file_writer.h"

namespace testing_support {

namespace {

void putI32(std::string& out, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out += char(bits >> (8 * i));
}

void putText(std::string& out, const std::string& text) {
    putI32(out, std::int32_t(text.size() + 1));
    out += text;
    out += '\0';
}

} // namespace

std::string writeFormatListFile(const FormatListFile& file) {
    std::string out("Voxa\0\0\1\0\0\0", 10);
    putI32(out, std::int32_t(file.widths.size()));
    putI32(out, 26);
    for (std::size_t id = 0; id < 26; ++id) {
        putText(out, file.names[id]);
        putI32(out, file.positions[id]);
    }
    for (std::int32_t width : file.widths) putI32(out, width);
    putI32(out, std::int32_t(file.rows.size()));
    for (const FormatListFile::Row& row : file.rows) {
        putI32(out, row.icon);
        for (const std::string& cell : row.cells) putText(out, cell);
    }
    return out;
}

} // namespace testing_support
