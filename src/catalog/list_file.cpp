// list_file.cpp - reading and writing list files, and the texts' encoding.
#include "catalog/list_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/cp932_nearest.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace {

constexpr char kMagic[4] = {'V', 'o', 'x', 'a'};
constexpr std::uint16_t kVersion = 1;
constexpr char kTrailerMagic[8] = {'V', 'o', 'x', 'a', 'U', 'T', 'F', '8'};
constexpr std::int32_t kNameRow = -1;

// An original the trailer keeps is at most as long as the text reading a
// body text of `limit` bytes gives at most (each byte a stand-in).
constexpr std::size_t originalLimit(std::size_t limit) { return platform::utf8KeepingRoom(limit); }

// The longest start of the UTF-8 `text` of at most `limit` bytes that ends on
// a character boundary.
std::string_view cutUtf8(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = 0;
    while (end < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[end]);
        std::size_t length = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (end + length > limit) break;
        end += length;
    }
    return text.substr(0, end);
}

// A text the trailer keeps: where it is, and what it is.
struct Original {
    std::int32_t row;
    std::int32_t column;
    std::string_view text;
};

// --- Writing ----------------------------------------------------------------

// The most a text takes stored, with its length and zero byte: at most its
// limit, and no character takes more than the longest nearest form.
std::size_t storedBound(std::size_t size, std::size_t limit) {
    return 5 + std::min(limit, platform::kNearestCp932Most * size);
}

// A first guess of the file's size: its texts as long stored as in memory,
// which they are unless CP932 cannot hold them.
std::size_t sizeGuess(const CatalogList& list) {
    std::size_t size = 18 + 4 * (std::size_t(list.visibleCount) + 1) + 26 * 9;
    for (const CatalogColumn& column : list.columns) size += column.displayName.size();
    for (const CatalogRow& row : list.rows) size += 4 + 5 * std::size_t(list.visibleCount) + row.cells.joined().size();
    return size;
}

// The file's bytes, written into one buffer that is never filled in advance,
// so only the pages the bytes reach are touched. Writers ask for room first.
class ListBytes {
public:
    explicit ListBytes(std::size_t capacity) : data_(new char[capacity]), capacity_(capacity), at_(data_.get()) {}

    std::string_view bytes() const { return {data_.get(), size()}; }
    std::size_t size() const { return std::size_t(at_ - data_.get()); }

    // Room for `more` bytes past what is written.
    void reserveMore(std::size_t more) {
        if (capacity_ - size() >= more) return;
        std::size_t size = this->size();
        capacity_ = std::max(2 * capacity_, size + more);
        std::unique_ptr<char[]> grown(new char[capacity_]);
        std::memcpy(grown.get(), data_.get(), size);
        data_ = std::move(grown);
        at_ = data_.get() + size;
    }

    void putI32(std::int32_t value) {
        setI32(at_, value);
        at_ += 4;
    }
    void putU16(std::uint16_t value) {
        at_[0] = char(value);
        at_[1] = char(value >> 8);
        at_ += 2;
    }
    void putBytes(const char* bytes, std::size_t count) {
        std::copy_n(bytes, count, at_); // an empty text may have no data at all
        at_ += count;
    }

    // The stored form of `text` with its length and zero byte. A text ends at
    // a zero byte, as the file can hold nothing after one; `mayHoldZero` false
    // says it has none. Returns the text as stored when reading the form back
    // does not give it (the original the trailer keeps), else nothing.
    std::optional<std::string_view> putText(std::string_view text, std::size_t limit, bool mayHoldZero = true) {
        if (mayHoldZero) text = text.substr(0, text.find('\0'));
        text = cutUtf8(text, originalLimit(limit));
        char* start = at_ + 4;
        platform::NearestCp932 form = platform::writeNearestCp932(text, limit, start);
        start[form.length] = '\0';
        setI32(at_, std::int32_t(form.length + 1));
        at_ = start + form.length + 1;
        if (form.exact) return std::nullopt;
        return text.substr(0, form.taken);
    }

private:
    static void setI32(char* at, std::int32_t value) {
        auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i) at[i] = char(bits >> (8 * i));
    }

    std::unique_ptr<char[]> data_;
    std::size_t capacity_;
    char* at_;
};

// Everything after the header, gathering the texts the trailer keeps.
void putBody(const CatalogList& list, ListBytes& out, std::vector<Original>& originals) {
    const std::size_t visible = std::size_t(list.visibleCount);
    for (int id = 0; id < kColumnCount; ++id) {
        const CatalogColumn& column = list.columns[std::size_t(id)];
        out.reserveMore(storedBound(column.displayName.size(), kColumnNameLimit) + 4);
        if (auto original = out.putText(column.displayName, kColumnNameLimit)) originals.push_back({kNameRow, id, *original});
        out.putI32(column.displayPosition);
    }
    std::vector<int> order = visibleOrder(list);
    out.reserveMore(4 * (visible + 1));
    for (std::size_t p = 0; p < visible; ++p) {
        int width = p < list.viewColumns.size() ? list.viewColumns[p].width
                    : p == 0                     ? kTitleViewWidth
                                                 : list.columns[std::size_t(order[p])].defaultWidth;
        out.putI32(width & 0xFFFF); // only the low 16 bits ever reach the view
    }
    out.putI32(std::int32_t(list.rows.size()));
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        const CatalogRow& row = list.rows[r];
        // The icon, and the cells bounded as storedBound bounds one, all at once.
        std::size_t texts = std::min(visible * kCellLimit, platform::kNearestCp932Most * row.cells.joined().size());
        out.reserveMore(4 + 5 * visible + texts);
        out.putI32(row.icon);
        // One look through the whole row instead of one per cell.
        bool mayHoldZero = row.cells.joined().find('\0') != std::string_view::npos;
        for (std::size_t p = 0; p < visible; ++p) {
            std::string_view cell = p < row.cells.size() ? row.cells[p] : std::string_view();
            if (auto original = out.putText(cell, kCellLimit, mayHoldZero))
                originals.push_back({std::int32_t(r), std::int32_t(p), *original});
        }
    }
}

void putTrailer(ListBytes& out, const std::vector<Original>& originals) {
    std::size_t size = sizeof kTrailerMagic + 4;
    for (const Original& original : originals) size += 13 + original.text.size();
    out.reserveMore(size);
    out.putBytes(kTrailerMagic, sizeof kTrailerMagic);
    out.putI32(std::int32_t(originals.size()));
    for (const Original& original : originals) {
        out.putI32(original.row);
        out.putI32(original.column);
        out.putI32(std::int32_t(original.text.size() + 1));
        out.putBytes(original.text.data(), original.text.size());
        out.putBytes("", 1);
    }
}

ListBytes encodeList(const CatalogList& list) {
    ListBytes out(sizeGuess(list));
    out.putBytes(kMagic, 4);
    out.putU16(0);
    out.putU16(kVersion);
    out.putU16(0);
    out.putI32(list.visibleCount);
    out.putI32(kColumnCount);
    std::vector<Original> originals;
    putBody(list, out, originals);
    if (!originals.empty()) putTrailer(out, originals);
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
    TextReader() : converted_(new char[platform::utf8KeepingRoom(kCellLimit)]) {}

    // `stored` is at most a cell long. The view is valid until the next call.
    std::string_view operator()(std::string_view stored) {
        return {converted_.get(), std::size_t(platform::writeUtf8KeepingBytes(stored, converted_.get()) - converted_.get())};
    }

private:
    std::unique_ptr<char[]> converted_; // room for the longest cell, reused
};

// The trailer at `at`, if one is there whole: each entry in place, in order,
// and nothing after the last one.
std::vector<Original> readTrailer(const CatalogList& list, const std::string& bytes, std::size_t at) {
    if (bytes.size() - at < sizeof kTrailerMagic || std::memcmp(bytes.data() + at, kTrailerMagic, sizeof kTrailerMagic) != 0)
        return {};
    Reader in{bytes, at + sizeof kTrailerMagic};
    std::int32_t count = 0;
    if (!in.i32(count) || count < 0) return {};
    std::vector<Original> originals;
    originals.reserve(std::min(std::size_t(count), (bytes.size() - in.at) / 13));
    for (std::int32_t i = 0; i < count; ++i) {
        Original original{};
        if (!in.i32(original.row) || !in.i32(original.column)) return {};
        bool name = original.row == kNameRow;
        std::int32_t columns = name ? kColumnCount : list.visibleCount;
        bool inPlace = (name || (original.row >= 0 && std::size_t(original.row) < list.rows.size())) &&
                       original.column >= 0 && original.column < columns;
        bool inOrder = originals.empty() || original.row > originals.back().row ||
                       (original.row == originals.back().row && original.column > originals.back().column);
        if (!inPlace || !inOrder || !in.text(originalLimit(name ? kColumnNameLimit : kCellLimit), original.text))
            return {};
        originals.push_back(original);
    }
    if (in.at != bytes.size()) return {};
    return originals;
}

// True when `original` is stored as the text that reads as `read`.
bool storedAs(std::string_view original, std::size_t limit, std::string_view read) {
    char form[kCellLimit];
    platform::NearestCp932 stored = platform::writeNearestCp932(original, limit, form);
    if (stored.taken != original.size()) return false;
    char back[platform::utf8KeepingRoom(kCellLimit)];
    char* end = platform::writeUtf8KeepingBytes({form, stored.length}, back);
    return std::string_view(back, std::size_t(end - back)) == read;
}

// Gives back the originals of the trailer whose stored forms are still what
// the body holds.
void restoreOriginals(CatalogList& list, const std::string& bytes, std::size_t trailerAt) {
    for (const Original& original : readTrailer(list, bytes, trailerAt)) {
        if (original.row == kNameRow) {
            CatalogColumn& column = list.columns[std::size_t(original.column)];
            if (!storedAs(original.text, kColumnNameLimit, column.displayName)) continue;
            column.displayName = std::string(original.text);
            if (column.displayPosition >= 0) list.viewColumns[std::size_t(column.displayPosition)].name = column.displayName;
            continue;
        }
        RowCells& cells = list.rows[std::size_t(original.row)].cells;
        if (storedAs(original.text, kCellLimit, cells[std::size_t(original.column)]))
            cells.set(std::size_t(original.column), original.text);
    }
}

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

    FileColumns columns;
    std::int32_t visible = 0, count = 0;
    in.i32(visible);
    in.i32(count);
    if (count != kColumnCount || visible < 1 || visible > kColumnCount) return 0;
    columns.visibleCount = visible;
    TextReader readText;
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
    restoreOriginals(list, bytes, in.at);
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
