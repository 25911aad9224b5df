// list_file.cpp - reading and writing list files, and the texts' encoding.
#include "catalog/list_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace {

constexpr char kMagic[4] = {'V', 'o', 'x', 'a'};
constexpr std::uint16_t kVersion = 1;

// --- Encoding ---------------------------------------------------------------

bool isCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The longest start of `text` of at most `limit` bytes that ends on a
// character boundary of its encoding.
std::string_view cutStored(std::string_view text, std::size_t limit, bool utf8) {
    if (text.size() <= limit) return text;
    std::size_t end = 0;
    while (end < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[end]);
        std::size_t length = 1;
        if (utf8)
            length = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        else if (isCp932Lead(c))
            length = 2;
        if (end + length > limit) break;
        end += length;
    }
    return text.substr(0, end);
}

// A CP932 text that does not convert whole (bytes no Windows program writes)
// is read character by character, each unreadable one becoming U+FFFD.
std::string cp932TextByCharacter(std::string_view stored) {
    std::string text;
    for (std::size_t at = 0; at < stored.size();) {
        std::size_t length = isCp932Lead(static_cast<unsigned char>(stored[at])) && at + 1 < stored.size() ? 2 : 1;
        std::optional<std::string> one = platform::cp932ToUtf8(stored.substr(at, length));
        text += one ? *one : "\xEF\xBF\xBD";
        at += length;
    }
    return text;
}

// --- Writing ----------------------------------------------------------------

// An upper bound of the file's size: its texts are never longer stored than
// in memory.
std::size_t sizeBound(const CatalogList& list) {
    std::size_t size = 18 + 4 * (std::size_t(list.visibleCount) + 1);
    for (const CatalogColumn& column : list.columns) size += 9 + column.displayName.size();
    for (const CatalogRow& row : list.rows) {
        size += 4 + 5 * std::size_t(list.visibleCount) + row.cells.joined().size();
    }
    return size;
}

// The file's bytes, written into one buffer as large as they can be and
// never filled in advance, so only the pages they reach are touched.
class ListBytes {
public:
    explicit ListBytes(std::size_t bound) : data_(new char[bound]), at_(data_.get()) {}

    std::string_view bytes() const { return {data_.get(), std::size_t(at_ - data_.get())}; }
    std::size_t size() const { return std::size_t(at_ - data_.get()); }
    void truncate(std::size_t size) { at_ = data_.get() + size; }

    void putI32(std::int32_t value) {
        setI32(at_, value);
        at_ += 4;
    }
    void putU16(std::uint16_t value) {
        at_[0] = char(value);
        at_[1] = char(value >> 8);
        at_ += 2;
    }
    void putU16At(std::size_t offset, std::uint16_t value) {
        data_[offset] = char(value);
        data_[offset + 1] = char(value >> 8);
    }
    void putBytes(const char* bytes, std::size_t count) {
        std::memcpy(at_, bytes, count);
        at_ += count;
    }

    // The stored form of `text` with its length and zero byte; false when a
    // CP932 file cannot hold it. A text ends at a zero byte, as the file can
    // hold nothing after one; `mayHoldZero` false says it has none.
    bool putText(std::string_view text, std::size_t limit, bool utf8, bool mayHoldZero = true) {
        char* start = at_ + 4;
        if (mayHoldZero) text = text.substr(0, text.find('\0'));
        char* end = start + text.size();
        if (utf8)
            std::copy(text.begin(), text.end(), start); // an empty text may have no data at all
        else if (!(end = platform::writeCp932(text, start)))
            return false;
        std::size_t kept = cutStored(std::string_view(start, std::size_t(end - start)), limit, utf8).size();
        start[kept] = '\0';
        setI32(at_, std::int32_t(kept + 1));
        at_ = start + kept + 1;
        return true;
    }

private:
    static void setI32(char* at, std::int32_t value) {
        auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i) at[i] = char(bits >> (8 * i));
    }

    std::unique_ptr<char[]> data_;
    char* at_;
};

// Everything after the header, with the texts in one encoding; false when
// some text has no CP932 form.
bool putBody(const CatalogList& list, ListBytes& out, bool utf8) {
    for (const CatalogColumn& column : list.columns) {
        if (!out.putText(column.displayName, kColumnNameLimit, utf8)) return false;
        out.putI32(column.displayPosition);
    }
    std::vector<int> order = visibleOrder(list);
    for (std::size_t p = 0; p < std::size_t(list.visibleCount); ++p) {
        int width = p < list.viewColumns.size() ? list.viewColumns[p].width
                    : p == 0                     ? kTitleViewWidth
                                                 : list.columns[std::size_t(order[p])].defaultWidth;
        out.putI32(width);
    }
    out.putI32(std::int32_t(list.rows.size()));
    for (const CatalogRow& row : list.rows) {
        out.putI32(row.icon);
        // One look through the whole row instead of one per cell.
        bool mayHoldZero = row.cells.joined().find('\0') != std::string_view::npos;
        for (std::size_t p = 0; p < std::size_t(list.visibleCount); ++p)
            if (!out.putText(p < row.cells.size() ? row.cells[p] : std::string_view(), kCellLimit, utf8, mayHoldZero))
                return false;
    }
    return true;
}

ListBytes encodeList(const CatalogList& list) {
    ListBytes out(sizeBound(list));
    out.putBytes(kMagic, 4);
    out.putU16(0);
    out.putU16(kVersion);
    out.putU16(0);
    out.putI32(list.visibleCount);
    out.putI32(kColumnCount);
    std::size_t header = out.size();
    // CP932 when every text has a form there, else every text in UTF-8.
    if (!putBody(list, out, false)) {
        out.truncate(header);
        putBody(list, out, true);
        out.putU16At(4, kUtf8ListMarker);
    }
    return out;
}

// --- Reading ----------------------------------------------------------------

// Reads little-endian fields from the bytes, failing at their end.
struct Reader {
    const std::string& bytes;
    std::size_t at = 0;

    bool i32(std::int32_t& value) {
        if (bytes.size() - at < 4) return false;
        std::uint32_t bits = 0;
        for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
        value = static_cast<std::int32_t>(bits);
        at += 4;
        return true;
    }
    std::uint16_t u16At(std::size_t offset) const {
        return std::uint16_t(static_cast<unsigned char>(bytes[offset]) |
                             static_cast<unsigned char>(bytes[offset + 1]) << 8);
    }
    // A length-prefixed text of at most `limit` bytes before its zero byte;
    // the text ends at its first zero byte.
    bool text(std::size_t limit, std::string_view& value) {
        std::int32_t length = 0;
        if (!i32(length) || length < 1 || std::size_t(length) > limit + 1 || bytes.size() - at < std::size_t(length))
            return false;
        std::string_view stored(bytes.data() + at, std::size_t(length));
        value = stored.substr(0, std::min(stored.find('\0'), stored.size()));
        at += std::size_t(length);
        return true;
    }
};

// The in-memory form of texts read from a file, one at a time.
class TextReader {
public:
    explicit TextReader(bool utf8) : utf8_(utf8), converted_(new char[platform::utf8Room(kCellLimit)]) {}

    // `stored` is at most a cell long. The view is valid until the next call.
    std::string_view operator()(std::string_view stored) {
        if (utf8_) return stored;
        if (char* end = platform::writeUtf8FromCp932(stored, converted_.get()))
            return {converted_.get(), std::size_t(end - converted_.get())};
        unreadable_ = cp932TextByCharacter(stored);
        return unreadable_;
    }

private:
    bool utf8_;
    std::unique_ptr<char[]> converted_; // room for the longest cell, reused
    std::string unreadable_;
};

struct FileColumns {
    int visibleCount = 0;
    std::array<std::string, kColumnCount> names;
    std::array<int, kColumnCount> positions{};
    std::vector<int> widths;
};

// Positions must give each of 0 .. V-1 to exactly one column, the title at 0:
// rows keep their cells by position, so anything else has no meaning.
bool positionsConsistent(const FileColumns& columns) {
    std::vector<int> seen(std::size_t(columns.visibleCount), 0);
    for (int position : columns.positions) {
        if (position == -1) continue;
        if (position < 0 || position >= columns.visibleCount || seen[std::size_t(position)]++) return false;
    }
    for (int count : seen)
        if (count != 1) return false;
    return columns.positions[kColumnTitle] == 0;
}

} // namespace

std::string listFileBytes(const CatalogList& list) { return std::string(encodeList(list).bytes()); }

int writeListFile(CatalogList& list, const std::string& path) {
    if (!platform::writeFileAtomically(path, encodeList(list).bytes())) return 0;
    list.hasFileName = true;
    list.listPath = path;
    return 1;
}

int readListBytes(CatalogList& list, const std::string& bytes) {
    if (bytes.size() < 18 || std::memcmp(bytes.data(), kMagic, 4) != 0) return 0;
    Reader in{bytes, 10};
    if (in.u16At(6) != kVersion) return 0;
    bool utf8 = in.u16At(4) == kUtf8ListMarker;

    FileColumns columns;
    std::int32_t visible = 0, count = 0;
    in.i32(visible);
    in.i32(count);
    if (count != kColumnCount || visible < 1 || visible > kColumnCount) return 0;
    columns.visibleCount = visible;
    TextReader readText(utf8);
    for (int id = 0; id < kColumnCount; ++id) {
        std::string_view name;
        std::int32_t position = 0;
        if (!in.text(kColumnNameLimit, name) || !in.i32(position)) return 0;
        columns.names[std::size_t(id)] = std::string(readText(name));
        columns.positions[std::size_t(id)] = position;
    }
    if (!positionsConsistent(columns)) return 0;
    for (int p = 0; p < visible; ++p) {
        std::int32_t width = 0;
        if (!in.i32(width)) return 0;
        columns.widths.push_back(width & 0xFFFF); // the view takes the low 16 bits
    }

    // From here on the catalog takes the file's columns.
    list.viewColumns.clear();
    list.visibleCount = visible;
    for (int id = 0; id < kColumnCount; ++id) {
        list.columns[std::size_t(id)].displayName = std::move(columns.names[std::size_t(id)]);
        list.columns[std::size_t(id)].displayPosition = columns.positions[std::size_t(id)];
    }
    buildViewColumns(list);
    for (int p = 0; p < visible; ++p) list.viewColumns[std::size_t(p)].width = columns.widths[std::size_t(p)];
    list.rows.clear();
    list.nextSerial = 0;
    list.modified = false;
    list.hasFileName = false;

    std::int32_t rowCount = 0;
    if (!in.i32(rowCount) || rowCount < 0) return 0;
    // Each row takes at least 4 + 5 V bytes, which bounds what a count can reserve.
    std::size_t rowsInData = (bytes.size() - in.at) / (4 + 5 * std::size_t(visible));
    list.rows.reserve(std::min(std::size_t(rowCount), rowsInData));
    std::vector<std::string_view> stored(static_cast<std::size_t>(visible));
    RowCells cells; // reused; each row takes a copy of just the size it needs
    for (std::int32_t r = 0; r < rowCount; ++r) {
        std::int32_t icon = 0;
        if (!in.i32(icon) || icon < kIconFolder || icon > kIconArchive) return 0;
        // Rows before the damage are kept, the damaged one is not.
        for (std::string_view& text : stored)
            if (!in.text(kCellLimit, text)) return 0;
        cells.clear();
        for (std::string_view text : stored) cells.push_back(readText(text));
        appendRow(list, icon, cells);
    }
    return 1;
}

int readListFile(CatalogList& list, const std::string& path) {
    if (platform::pathKind(path) != platform::PathKind::File) return 0;
    std::optional<std::string> bytes = platform::readFile(path);
    if (!bytes || !readListBytes(list, *bytes)) return 0;
    list.hasFileName = true;
    list.listPath = path;
    return 1;
}
