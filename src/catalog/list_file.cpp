// list_file.cpp - reading and writing list files, and the texts' encoding.
#include "catalog/list_file.h"

#include <cstring>
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
std::string cp932Text(std::string_view stored) {
    if (std::optional<std::string> text = platform::cp932ToUtf8(stored)) return *std::move(text);
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

void putI32(std::string& out, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    char bytes[4] = {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
    out.append(bytes, 4);
}

void putU16(std::string& out, std::uint16_t value) {
    out += char(value);
    out += char(value >> 8);
}

void putText(std::string& out, std::string_view text) {
    putI32(out, std::int32_t(text.size() + 1));
    out += text;
    out += '\0';
}

// Every text of the catalog in the order the file stores them. A text ends at
// a zero byte, as the file can hold nothing after one.
std::vector<std::string_view> textsOf(const CatalogList& list) {
    std::vector<std::string_view> texts;
    auto add = [&texts](std::string_view text) { texts.push_back(text.substr(0, text.find('\0'))); };
    for (const CatalogColumn& column : list.columns) add(column.displayName);
    for (const CatalogRow& row : list.rows)
        for (std::size_t p = 0; p < std::size_t(list.visibleCount); ++p)
            add(p < row.cells.size() ? std::string_view(row.cells[p]) : std::string_view());
    return texts;
}

// The texts joined by zero bytes, which both encodings keep as they are and
// no converted character contains: converting a list file's quarter of a
// million texts in one call is what keeps reading and writing fast.
std::string joined(const std::vector<std::string_view>& texts) {
    std::size_t size = 0;
    for (std::string_view text : texts) size += text.size() + 1;
    std::string out;
    out.reserve(size);
    for (std::string_view text : texts) (out += text) += '\0';
    return out;
}

// Splits what `joined` made (after conversion) back into `count` views.
std::optional<std::vector<std::string_view>> split(std::string_view all, std::size_t count) {
    std::vector<std::string_view> parts;
    parts.reserve(count);
    for (std::size_t at = 0; at < all.size();) {
        std::size_t end = all.find('\0', at);
        parts.push_back(all.substr(at, end - at));
        at = end + 1;
    }
    if (parts.size() != count) return std::nullopt;
    return parts;
}

// The stored form of every text, joined: CP932 when all of them have one,
// else UTF-8.
std::string storedTexts(const CatalogList& list, bool& utf8) {
    std::string all = joined(textsOf(list));
    std::optional<std::string> cp932 = platform::utf8ToCp932(all);
    utf8 = !cp932;
    return utf8 ? all : *std::move(cp932);
}

// The in-memory form of texts read from a file.
std::vector<std::string> readTexts(const std::vector<std::string_view>& stored, bool utf8) {
    if (utf8) return std::vector<std::string>(stored.begin(), stored.end());
    if (std::optional<std::string> all = platform::cp932ToUtf8(joined(stored)))
        if (std::optional<std::vector<std::string_view>> texts = split(*all, stored.size()))
            return std::vector<std::string>(texts->begin(), texts->end());
    std::vector<std::string> texts;
    texts.reserve(stored.size());
    for (std::string_view text : stored) texts.push_back(cp932Text(text));
    return texts;
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

std::string listFileBytes(const CatalogList& list) {
    bool utf8 = false;
    std::string all = storedTexts(list, utf8);
    std::size_t textCount = kColumnCount + list.rows.size() * std::size_t(list.visibleCount);
    std::vector<std::string_view> stored = *split(all, textCount);
    auto storedText = [&](std::size_t i) {
        std::string_view text = stored[i];
        return cutStored(text, i < kColumnCount ? kColumnNameLimit : kCellLimit, utf8);
    };
    std::string out;
    out.reserve(all.size() + 18 + 8 * kColumnCount + 4 * (std::size_t(list.visibleCount) + 1) +
                list.rows.size() * (4 + 4 * std::size_t(list.visibleCount)));
    out.append(kMagic, 4);
    putU16(out, utf8 ? kUtf8ListMarker : 0);
    putU16(out, kVersion);
    putU16(out, 0);
    putI32(out, list.visibleCount);
    putI32(out, kColumnCount);
    std::size_t next = 0;
    for (const CatalogColumn& column : list.columns) {
        putText(out, storedText(next++));
        putI32(out, column.displayPosition);
    }
    std::vector<int> order = visibleOrder(list);
    for (std::size_t p = 0; p < std::size_t(list.visibleCount); ++p) {
        int width = p < list.viewColumns.size() ? list.viewColumns[p].width
                    : p == 0                     ? kTitleViewWidth
                                                 : list.columns[std::size_t(order[p])].defaultWidth;
        putI32(out, width);
    }
    putI32(out, std::int32_t(list.rows.size()));
    for (const CatalogRow& row : list.rows) {
        putI32(out, row.icon);
        for (int p = 0; p < list.visibleCount; ++p) putText(out, storedText(next++));
    }
    return out;
}

int writeListFile(CatalogList& list, const std::string& path) {
    if (!platform::writeFileAtomically(path, listFileBytes(list))) return 0;
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
    std::vector<std::string_view> names(kColumnCount);
    for (int id = 0; id < kColumnCount; ++id) {
        std::int32_t position = 0;
        if (!in.text(kColumnNameLimit, names[std::size_t(id)]) || !in.i32(position)) return 0;
        columns.positions[std::size_t(id)] = position;
    }
    std::vector<std::string> decodedNames = readTexts(names, utf8);
    std::move(decodedNames.begin(), decodedNames.end(), columns.names.begin());
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
    std::vector<int> icons;
    std::vector<std::string_view> cells;
    icons.reserve(std::min(std::size_t(rowCount), rowsInData));
    cells.reserve(icons.capacity() * std::size_t(visible));
    bool complete = true;
    for (std::int32_t r = 0; r < rowCount && complete; ++r) {
        std::int32_t icon = 0;
        complete = in.i32(icon) && icon >= kIconFolder && icon <= kIconArchive;
        for (int p = 0; p < visible && complete; ++p) complete = in.text(kCellLimit, cells.emplace_back());
        if (complete) icons.push_back(icon);
    }
    // Rows before the damage are kept, the damaged one is not.
    cells.resize(icons.size() * std::size_t(visible));
    std::vector<std::string> texts = readTexts(cells, utf8);
    list.rows.reserve(icons.size());
    for (std::size_t r = 0; r < icons.size(); ++r) {
        auto first = texts.begin() + std::ptrdiff_t(r * std::size_t(visible));
        appendRow(list, icons[r], std::vector<std::string>(std::make_move_iterator(first),
                                                           std::make_move_iterator(first + visible)));
    }
    return complete ? 1 : 0;
}

int readListFile(CatalogList& list, const std::string& path) {
    if (platform::pathKind(path) != platform::PathKind::File) return 0;
    std::optional<std::string> bytes = platform::readFile(path);
    if (!bytes || !readListBytes(list, *bytes)) return 0;
    list.hasFileName = true;
    list.listPath = path;
    return 1;
}
