// The list file's round trip on arbitrary bytes, taken three ways:
//  - as a file: what reads writes back, and that reads and writes back the
//    same bytes again;
//  - as the texts of a catalog: written, read and written again, the same
//    bytes, and every text comes back whole up to its first zero byte when
//    its stored form fits its limit;
//  - as the texts of a file a program that follows the format wrote: read
//    and written back, the same file.
#include <cstdlib>
#include <string>

#include "catalog/list_file.h"
#include "platform/text_encoding.h"
#include "support/list_file_writer.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Takes the input apart: bytes, and texts of up to 2047 bytes each.
struct Input {
    const unsigned char* at;
    const unsigned char* end;

    unsigned byte() { return at == end ? 0 : *at++; }
    std::string text() {
        std::size_t length = (byte() | byte() << 8) & 0x7FF;
        length = std::min(length, std::size_t(end - at));
        std::string text(reinterpret_cast<const char*>(at), length);
        at += length;
        return text;
    }
};

CatalogList freshCatalog() {
    CatalogList list;
    resetCatalog(list);
    return list;
}

void asAFile(const std::string& bytes) {
    CatalogList list = freshCatalog();
    if (!readListBytes(list, bytes)) return;
    std::string written = listFileBytes(list);
    CatalogList back = freshCatalog();
    check(readListBytes(back, written) == 1);
    check(listFileBytes(back) == written);
}

// True when `text` is kept whole: its stored form fits `limit`.
bool fits(std::string_view text, std::size_t limit) {
    std::string form(limit, '\0');
    return text.size() <= platform::utf8KeepingRoom(limit) &&
           platform::writeNearestCp932(text, limit, form.data()).taken == text.size();
}

void expectKept(std::string_view text, std::string_view read, std::size_t limit) {
    text = text.substr(0, text.find('\0'));
    if (fits(text, limit)) check(read == text);
}

void asCatalogTexts(Input in) {
    CatalogList list = freshCatalog();
    list.visibleCount = 1 + int(in.byte() % kColumnCount);
    for (int id = 0; id < kColumnCount; ++id) {
        list.columns[id].displayName = in.text();
        list.columns[id].displayPosition = id < list.visibleCount ? id : -1;
    }
    buildViewColumns(list);
    while (in.at != in.end) {
        std::vector<std::string> cells;
        for (int p = 0; p < list.visibleCount; ++p) cells.push_back(in.text());
        appendRow(list, int(in.byte() % 3), cells);
    }
    std::string written = listFileBytes(list);
    CatalogList back = freshCatalog();
    check(readListBytes(back, written) == 1);
    check(listFileBytes(back) == written);
    for (int id = 0; id < kColumnCount; ++id)
        expectKept(list.columns[id].displayName, back.columns[id].displayName, kColumnNameLimit);
    for (std::size_t r = 0; r < list.rows.size(); ++r)
        for (std::size_t p = 0; p < std::size_t(list.visibleCount); ++p)
            expectKept(list.rows[r].cells[p], back.rows[r].cells[p], kCellLimit);
}

// A stored text as such a program writes one: no zero byte, within its limit.
std::string storedText(Input& in, std::size_t limit) {
    std::string text = in.text();
    return text.substr(0, std::min(text.find('\0'), limit));
}

void asFormatFileTexts(Input in) {
    testing_support::FormatListFile file;
    int visible = 1 + int(in.byte() % kColumnCount);
    for (int id = 0; id < kColumnCount; ++id) {
        file.names[std::size_t(id)] = storedText(in, kColumnNameLimit);
        file.positions[std::size_t(id)] = id < visible ? id : -1;
    }
    for (int p = 0; p < visible; ++p) file.widths.push_back(std::int32_t(in.byte() | in.byte() << 8));
    while (in.at != in.end) {
        testing_support::FormatListFile::Row row;
        row.icon = std::int32_t(in.byte() % 3);
        for (int p = 0; p < visible; ++p) row.cells.push_back(storedText(in, kCellLimit));
        file.rows.push_back(std::move(row));
    }
    std::string bytes = testing_support::writeFormatListFile(file);
    CatalogList list = freshCatalog();
    check(readListBytes(list, bytes) == 1);
    check(listFileBytes(list) == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    asAFile(std::string(reinterpret_cast<const char*>(data), size));
    asCatalogTexts({data, data + size});
    asFormatFileTexts({data, data + size});
    return 0;
}
