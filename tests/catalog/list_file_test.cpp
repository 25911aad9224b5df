#include "catalog/list_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "support/list_file_writer.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

std::string i32(std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    return {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
}

std::string cp932(const std::string& utf8) { return *platform::utf8ToCp932(utf8); }

CatalogList freshCatalog() {
    CatalogList list;
    resetCatalog(list);
    return list;
}

// Every column visible, in an order other than the ids', with Japanese texts.
CatalogList fullCatalog(int rows, std::size_t cellBytes) {
    CatalogList list = freshCatalog();
    list.visibleCount = kColumnCount;
    for (int id = 0; id < kColumnCount; ++id) list.columns[id].displayPosition = id == 0 ? 0 : kColumnCount - id;
    list.columns[kColumnRemarks].displayName = "メモ欄";
    buildViewColumns(list);
    list.viewColumns[3].width = 333;
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> cells;
        for (int p = 0; p < kColumnCount; ++p) {
            std::string cell = "表示" + std::to_string(r) + "ｶﾀｶﾅ" + std::to_string(p);
            while (cell.size() + 3 <= cellBytes) cell += "漢";
            cells.push_back(cell);
        }
        appendRow(list, r % 3, std::move(cells));
    }
    return list;
}

void expectSameCatalog(const CatalogList& a, const CatalogList& b) {
    ASSERT_EQ(a.visibleCount, b.visibleCount);
    for (int id = 0; id < kColumnCount; ++id) {
        EXPECT_EQ(a.columns[id].displayName, b.columns[id].displayName) << id;
        EXPECT_EQ(a.columns[id].displayPosition, b.columns[id].displayPosition) << id;
    }
    ASSERT_EQ(a.viewColumns.size(), b.viewColumns.size());
    for (std::size_t p = 0; p < a.viewColumns.size(); ++p) EXPECT_EQ(a.viewColumns[p].width, b.viewColumns[p].width);
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (std::size_t r = 0; r < a.rows.size(); ++r) {
        EXPECT_EQ(a.rows[r].icon, b.rows[r].icon);
        EXPECT_EQ(a.rows[r].cells, b.rows[r].cells);
    }
}

} // namespace

TEST(ListFile, TheNewCatalogWithOneRowIsWrittenByteForByte) {
    CatalogList list = freshCatalog();
    appendRow(list, kIconFolder, {"ab", ""});
    std::string expected = std::string("Voxa") + std::string("\0\0\1\0\0\0", 6) + i32(2) + i32(26);
    expected += i32(9) + cp932("タイトル") + '\0' + i32(0);
    for (int id = 1; id < kColumnCount; ++id) {
        std::string name = cp932(list.columns[id].defaultName);
        expected += i32(std::int32_t(name.size() + 1)) + name + '\0' + i32(id == kColumnLocation ? 1 : -1);
    }
    expected += std::string("\x8C\0\0\0\x96\0\0\0", 8);
    expected += std::string("\1\0\0\0\0\0\0\0\3\0\0\0ab\0\1\0\0\0\0", 20);
    EXPECT_EQ(listFileBytes(list), expected);

    TempFolder dir;
    ASSERT_EQ(writeListFile(list, dir / "a.vxl"), 1);
    EXPECT_EQ(*platform::readFile(dir / "a.vxl"), expected);
    EXPECT_TRUE(list.hasFileName);
    EXPECT_EQ(list.listPath, dir / "a.vxl");
}

TEST(ListFile, TenThousandFullRowsRoundTripByteForByte) {
    CatalogList list = fullCatalog(10000, 1023);
    std::string bytes = listFileBytes(list);
    EXPECT_EQ(bytes.substr(4, 2), std::string("\0\0", 2)); // every text fits CP932
    CatalogList back = freshCatalog();
    back.currentRow = 7;
    ASSERT_EQ(readListBytes(back, bytes), 1);
    expectSameCatalog(list, back);
    EXPECT_EQ(back.nextSerial, 10000);
    EXPECT_EQ(back.currentRow, 7); // not the file's business
    EXPECT_EQ(listFileBytes(back), bytes);
}

TEST(ListFile, LongTextsAreCutAtACharacterBoundary) {
    CatalogList list = freshCatalog();
    std::string longCell(1022, 'x');
    appendRow(list, kIconFile, {longCell + "漢字", std::string(2000, 'y')});
    list.columns[kColumnAuthor].displayName = std::string(254, 'n') + "名";
    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, listFileBytes(list)), 1);
    EXPECT_EQ(back.rows[0].cells[0], longCell); // the 2-byte 漢 would pass 1023 bytes
    EXPECT_EQ(back.rows[0].cells[1], std::string(1023, 'y'));
    EXPECT_EQ(back.columns[kColumnAuthor].displayName, std::string(254, 'n'));
}

TEST(ListFile, ATextEndsAtItsFirstZeroByte) {
    CatalogList list = freshCatalog();
    appendRow(list, kIconFile, {"plain", "next"});
    // What follows the zero byte is not stored, so no trailer keeps it.
    appendRow(list, kIconFile, {std::string("表\0한", 7), std::string("\0x", 2)});
    list.columns[kColumnAuthor].displayName = std::string("作者\0😀", 11);
    std::string bytes = listFileBytes(list);
    EXPECT_EQ(bytes.find("VoxaUTF8"), std::string::npos);
    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, bytes), 1);
    EXPECT_EQ(back.rows[0].cells, (RowCells{"plain", "next"}));
    EXPECT_EQ(back.rows[1].cells, (RowCells{"表", ""}));
    EXPECT_EQ(back.columns[kColumnAuthor].displayName, "作者");
}

// Where a reader that follows the format stops: after the counted columns,
// widths and rows.
std::size_t formatEnd(const std::string& bytes) {
    auto i32At = [&](std::size_t at) {
        return std::int32_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8 |
                            std::uint8_t(bytes[at + 2]) << 16 | std::uint32_t(std::uint8_t(bytes[at + 3])) << 24);
    };
    std::int32_t visible = i32At(10);
    std::size_t at = 18;
    for (int id = 0; id < 26; ++id) at += 4 + std::size_t(i32At(at)) + 4;
    at += 4 * std::size_t(visible);
    std::int32_t rows = i32At(at);
    at += 4;
    for (std::int32_t r = 0; r < rows; ++r) {
        at += 4;
        for (std::int32_t p = 0; p < visible; ++p) at += 4 + std::size_t(i32At(at));
    }
    return at;
}

TEST(ListFile, TextsOutsideCp932KeepTheBodyInCp932AndTheirOriginalsBehindIt) {
    CatalogList list = freshCatalog();
    std::string kanji;
    for (int i = 0; i < 500; ++i) kanji += "漢";
    appendRow(list, kIconFolder, {"波〜線−ダッシュ—¢£¬", "/home/ü/表 😀"});
    appendRow(list, kIconFile, {kanji + "〜", "plain"});
    appendRow(list, kIconFile, {"ゼロ\u200B幅\u00AD葛\U000E0100", "表紙"});
    list.columns[kColumnAuthor].displayName = "作者〜";
    std::string bytes = listFileBytes(list);
    EXPECT_EQ(bytes.substr(4, 2), std::string("\0\0", 2));

    // What a reader that follows the format sees: Japanese in CP932, the
    // nearest forms, and every kanji of the long cell (1002 bytes in CP932).
    std::size_t end = formatEnd(bytes);
    ASSERT_LT(end, bytes.size());
    CatalogList seen = freshCatalog();
    ASSERT_EQ(readListBytes(seen, bytes.substr(0, end)), 1);
    EXPECT_EQ(seen.rows[0].cells, (RowCells{"波～線－ダッシュ―￠￡￢", "/home/u/表 ?"}));
    EXPECT_EQ(seen.rows[1].cells, (RowCells{kanji + "～", "plain"}));
    EXPECT_EQ(seen.rows[2].cells, (RowCells{"ゼロ幅葛", "表紙"}));
    EXPECT_EQ(seen.columns[kColumnAuthor].displayName, "作者～");
    EXPECT_NE(bytes.find(cp932("/home/u/表 ?")), std::string::npos);

    // The trailer behind it holds the originals of those texts alone.
    auto entry = [](int row, int column, const std::string& text) {
        return i32(row) + i32(column) + i32(std::int32_t(text.size() + 1)) + text + '\0';
    };
    std::string trailer = std::string("VoxaUTF8") + i32(5) + entry(-1, kColumnAuthor, "作者〜");
    trailer += entry(0, 0, "波〜線−ダッシュ—¢£¬") + entry(0, 1, "/home/ü/表 😀") + entry(1, 0, kanji + "〜");
    trailer += entry(2, 0, "ゼロ\u200B幅\u00AD葛\U000E0100");
    EXPECT_EQ(bytes.substr(end), trailer);

    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, bytes), 1);
    expectSameCatalog(list, back);
    EXPECT_EQ(back.viewColumns.size(), 2u);
    EXPECT_EQ(listFileBytes(back), bytes);
}

TEST(ListFile, ARestoredNameIsTheViewsColumnNameToo) {
    CatalogList list = freshCatalog();
    list.columns[kColumnLocation].displayName = "場所 ☃";
    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, listFileBytes(list)), 1);
    EXPECT_EQ(back.viewColumns[1].name, "場所 ☃");
}

TEST(ListFile, BytesThatAreNoCp932CharacterSurviveAReadAndAWrite) {
    // A file a Windows program made: a byte ICU cannot decode, a lead byte
    // without its trail, the NEC row's second code of ≒, 0xFF.
    testing_support::FormatListFile file;
    for (int id = 0; id < 26; ++id) {
        file.names[id] = id == 0 ? std::string("\x87\x90") : "n";
        file.positions[id] = id == 0 ? 0 : id == kColumnLocation ? 1 : -1;
    }
    file.widths = {140, 65535};
    file.rows = {{2, {"\x85\x40\x95\x5C", "a\x81"}}, {0, {"\xFF\xFD", ""}}};
    std::string bytes = testing_support::writeFormatListFile(file);
    CatalogList list = freshCatalog();
    ASSERT_EQ(readListBytes(list, bytes), 1);
    EXPECT_TRUE(list.rows[0].cells[0].ends_with("@表"));
    EXPECT_EQ(listFileBytes(list), bytes); // no trailer either
}

TEST(ListFile, OriginalsWhoseBodyChangedOrWhoseTrailerIsDamagedAreNotRestored) {
    CatalogList list = freshCatalog();
    appendRow(list, kIconFile, {"〜a", "〜b"});
    std::string bytes = listFileBytes(list);
    std::size_t end = formatEnd(bytes);

    // Another program turned the first ～ into ＝ and kept the trailer.
    std::string edited = bytes;
    edited.replace(edited.find(cp932("～a")), 2, cp932("＝"));
    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, edited), 1);
    EXPECT_EQ(back.rows[0].cells, (RowCells{"＝a", "〜b"}));

    std::string swapped = bytes.substr(0, end) + "VoxaUTF8" + i32(2);
    swapped += i32(0) + i32(1) + i32(5) + "〜b" + '\0' + i32(0) + i32(0) + i32(5) + "〜a" + '\0';
    for (const std::string& damaged : {bytes + "x", bytes.substr(0, bytes.size() - 1), swapped,
                                       bytes.substr(0, end) + "VoxaUTF8" + i32(1) + i32(0) + i32(2) + i32(5) + "〜b" + '\0',
                                       bytes.substr(0, end) + "VoxaUTF8" + i32(-1)}) {
        CatalogList read = freshCatalog();
        ASSERT_EQ(readListBytes(read, damaged), 1);
        EXPECT_EQ(read.rows[0].cells, (RowCells{"～a", "～b"}));
    }
}

TEST(ListFile, AFileWrittenOnWindowsReads) {
    CatalogList list = freshCatalog();
    appendRow(list, kIconArchive, {"x", "y"});
    std::string bytes = listFileBytes(list);
    // "表" (95 5C) ends in a backslash byte; "ｶﾅ" is one byte each in CP932.
    std::string title = "\x95\x5C\xB6\xC5";
    std::size_t at = bytes.size() - 4 - 2 - 4 - 2;
    bytes.replace(at, 6, i32(5) + title + '\0');
    bytes[4] = '\x7F'; // the reserved field may hold anything
    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, bytes), 1);
    EXPECT_EQ(back.rows[0].cells[0], "表ｶﾅ");
    EXPECT_EQ(back.rows[0].cells[1], "y");
}

TEST(ListFile, RefusedFilesLeaveTheCatalogAsItWas) {
    TempFolder dir;
    CatalogList list = freshCatalog();
    appendRow(list, kIconFile, {"kept", "row"});
    list.modified = true;
    std::string good = listFileBytes(list);
    std::vector<std::pair<std::string, std::string>> bad = {
        {"magic", "Voxb" + good.substr(4)},
        {"version", good.substr(0, 6) + "\2" + good.substr(7)},
        {"count", good.substr(0, 14) + i32(25) + good.substr(18)},
        {"visible", good.substr(0, 10) + i32(27) + good.substr(14)},
        {"no visible", good.substr(0, 10) + i32(0) + good.substr(14)},
        {"name length", good.substr(0, 18) + i32(-5) + good.substr(22)},
        {"huge name", good.substr(0, 18) + i32(0x7FFFFFFF) + good.substr(22)},
        {"position", good.substr(0, 31) + i32(5) + good.substr(35)},
        {"short", good.substr(0, 17)},
        {"in columns", good.substr(0, 200)},
    };
    for (const auto& [label, bytes] : bad) {
        CatalogList copy = list;
        writeFile(dir / "bad.vxl", bytes);
        EXPECT_EQ(readListFile(copy, dir / "bad.vxl"), 0) << label;
        expectSameCatalog(copy, list);
        EXPECT_TRUE(copy.modified) << label;
    }
    testing_support::makeFolder(dir / "folder.vxl");
    EXPECT_EQ(readListFile(list, dir / "folder.vxl"), 0);
    EXPECT_EQ(readListFile(list, dir / "missing.vxl"), 0);
    EXPECT_EQ(list.rows.size(), 1u);
}

TEST(ListFile, DamagedRowsKeepTheColumnsAndTheRowsBefore) {
    CatalogList list = fullCatalog(3, 10);
    list.columns[kColumnTitle].displayName = "題名";
    std::string bytes = listFileBytes(list);
    CatalogList target = freshCatalog();
    target.modified = target.hasFileName = true;
    // Cut inside the third row; then a huge cell length; then a bad icon.
    CatalogList twoRows = list;
    twoRows.rows.pop_back();
    std::size_t thirdRow = listFileBytes(twoRows).size();
    for (std::string damaged : {bytes.substr(0, bytes.size() - 3),
                                bytes.substr(0, thirdRow + 4) + i32(1 << 30) + bytes.substr(thirdRow + 8),
                                bytes.substr(0, thirdRow) + i32(9) + bytes.substr(thirdRow + 4)}) {
        CatalogList partial = target;
        EXPECT_EQ(readListBytes(partial, damaged), 0);
        EXPECT_EQ(partial.columns[kColumnTitle].displayName, "題名");
        EXPECT_EQ(partial.visibleCount, kColumnCount);
        EXPECT_LE(partial.rows.size(), 2u);
        EXPECT_FALSE(partial.modified);
        EXPECT_FALSE(partial.hasFileName);
    }
}

TEST(ListFile, EveryTruncationFailsCleanly) {
    CatalogList list = freshCatalog();
    appendRow(list, kIconFile, {"表", "b"});
    std::string bytes = listFileBytes(list);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        CatalogList back = freshCatalog();
        EXPECT_EQ(readListBytes(back, bytes.substr(0, size)), 0) << size;
    }
    // A row count beyond the data reserves no more than the data can hold.
    CatalogList back = freshCatalog();
    std::string noRows = bytes.substr(0, bytes.size() - 4 - 4 - 3 - 4 - 2 - 4);
    EXPECT_EQ(readListBytes(back, noRows + i32(0x7FFFFFFF)), 0);
    EXPECT_EQ(readListBytes(back, noRows + i32(0)), 1);
    EXPECT_TRUE(back.rows.empty());
}

TEST(ListFile, WidthsKeepTheirLow16BitsAndHiddenColumnsTheirNames) {
    CatalogList list = freshCatalog();
    list.columns[kColumnAuthor].displayName = "描いた人";
    std::string bytes = listFileBytes(list);
    std::size_t widths = bytes.size() - 4 - 8;
    bytes.replace(widths, 4, i32(0x10000 + 77));
    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, bytes), 1);
    EXPECT_EQ(back.viewColumns[0].width, 77);
    EXPECT_EQ(back.columns[kColumnAuthor].displayName, "描いた人");
    EXPECT_EQ(back.columns[kColumnAuthor].displayPosition, -1);
}

TEST(ListFile, AFailedSaveKeepsThePreviousFile) {
    TempFolder dir;
    CatalogList list = freshCatalog();
    EXPECT_EQ(writeListFile(list, dir / "missing/a.vxl"), 0);
    EXPECT_FALSE(list.hasFileName);
    writeFile(dir / "a.vxl", "old");
    testing_support::makeFolder(dir / "a.vxl.dir");
    ASSERT_EQ(writeListFile(list, dir / "a.vxl"), 1);
    EXPECT_EQ(*platform::readFile(dir / "a.vxl"), listFileBytes(list));
}

TEST(ListFile, SavesRespectReadOnlyFilesAndLinks) {
    TempFolder dir;
    writeFile(dir / "shelf/books.vxl", "kept");
    ASSERT_EQ(::symlink("shelf/books.vxl", (dir / "books.vxl").c_str()), 0);
    testing_support::runUnprivileged(dir.path(), [&] {
        ::chmod((dir / "shelf/books.vxl").c_str(), 0444);
        CatalogList list = freshCatalog();
        EXPECT_EQ(writeListFile(list, dir / "books.vxl"), 0); // the caller says "失敗したッス"
        EXPECT_FALSE(list.hasFileName);
        EXPECT_EQ(platform::readFile(dir / "shelf/books.vxl"), "kept");
        ::chmod((dir / "shelf/books.vxl").c_str(), 0644);
        ASSERT_EQ(writeListFile(list, dir / "books.vxl"), 1);
        EXPECT_EQ(list.listPath, dir / "books.vxl");
    });
    EXPECT_EQ(platform::readFile(dir / "shelf/books.vxl"), listFileBytes(freshCatalog()));
    struct stat info {};
    ASSERT_EQ(::lstat((dir / "books.vxl").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

// --- The round trip, on many random files and catalogs ----------------------

namespace {

// Bytes of the kinds a CP932 text holds, and of kinds it should not.
std::string randomStoredText(std::mt19937& random, std::size_t limit) {
    static const char* const pieces[] = {"a", " ", "\x95\x5C", "\xB6", "\x81\x60", "\x87\x90", "\xED\x40",
                                         "\x85", "\x81", "\xFF", "\xA0", "\xF0\x40", "\x5C", "\x40"};
    std::string text;
    std::size_t length = random() % 4 == 0 ? limit : random() % 12;
    while (text.size() < length) text += pieces[random() % std::size(pieces)];
    return text.substr(0, length);
}

std::string randomText(std::mt19937& random) {
    static const char* const pieces[] = {"a", "表", "ｶ", "〜", "—", "¢", "é", "e\u0301", "㌀", "한", "😀", "\u200B",
                                         "\uFE0F", "\U000E0100", "\xFF", "\x81", "\xE3\x81", "\xF4\x8F\xBE\x81",
                                         "\xF4\x8F\xBD\x81", "\xF4\x8F\xBE\x87\xF4\x8F\xBE\x90"};
    std::string text;
    std::size_t count = random() % 8 == 0 ? 600 + random() % 800 : random() % 10;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t pick = random() % (std::size(pieces) + 1);
        text += pick == std::size(pieces) ? std::string(1, '\0') : pieces[pick];
    }
    return text;
}

} // namespace

TEST(ListFile, AnyFileAFormatWriterMakesReadsAndWritesBackUnchanged) {
    std::mt19937 random(15);
    for (int round = 0; round < 300; ++round) {
        testing_support::FormatListFile file;
        std::size_t visible = 1 + random() % kColumnCount;
        std::vector<int> others;
        for (int id = 1; id < kColumnCount; ++id) others.push_back(id);
        std::shuffle(others.begin(), others.end(), random);
        file.positions.fill(-1);
        file.positions[0] = 0;
        for (std::size_t p = 1; p < visible; ++p) file.positions[std::size_t(others[p - 1])] = std::int32_t(p);
        for (std::string& name : file.names) name = randomStoredText(random, kColumnNameLimit);
        for (std::size_t p = 0; p < visible; ++p) file.widths.push_back(std::int32_t(random() % 65536));
        file.rows.resize(random() % 4);
        for (auto& row : file.rows) {
            row.icon = std::int32_t(random() % 3);
            for (std::size_t p = 0; p < visible; ++p) row.cells.push_back(randomStoredText(random, kCellLimit));
        }
        std::string bytes = testing_support::writeFormatListFile(file);
        CatalogList list = freshCatalog();
        ASSERT_EQ(readListBytes(list, bytes), 1) << round;
        ASSERT_EQ(listFileBytes(list), bytes) << round;
    }
}

TEST(ListFile, AnyCatalogWritesReadsAndWritesAgainTheSameBytes) {
    std::mt19937 random(15);
    for (int round = 0; round < 300; ++round) {
        CatalogList list = freshCatalog();
        for (CatalogColumn& column : list.columns) column.displayName = randomText(random);
        std::size_t rows = random() % 4;
        for (std::size_t r = 0; r < rows; ++r) appendRow(list, kIconFile, {randomText(random), randomText(random)});
        std::string bytes = listFileBytes(list);
        CatalogList back = freshCatalog();
        ASSERT_EQ(readListBytes(back, bytes), 1) << round;
        ASSERT_EQ(listFileBytes(back), bytes) << round;
        // Every text comes back whole up to its first zero byte, unless it
        // passes its limit (a short text never does).
        auto expectKept = [&](std::string_view text, std::string_view read) {
            text = text.substr(0, text.find('\0'));
            if (text.size() < 100) {
                EXPECT_EQ(read, text) << round;
            }
        };
        for (int id = 0; id < kColumnCount; ++id)
            expectKept(list.columns[id].displayName, back.columns[id].displayName);
        for (std::size_t r = 0; r < rows; ++r)
            for (std::size_t p = 0; p < 2; ++p) expectKept(list.rows[r].cells[p], back.rows[r].cells[p]);
    }
}
