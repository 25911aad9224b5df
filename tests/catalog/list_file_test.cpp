#include "catalog/list_file.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "support/temp_folder.h"

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
    // What follows the zero byte is not stored, so it cannot make the file UTF-8.
    appendRow(list, kIconFile, {std::string("表\0한", 7), std::string("\0x", 2)});
    list.columns[kColumnAuthor].displayName = std::string("作者\0😀", 11);
    std::string bytes = listFileBytes(list);
    EXPECT_EQ(bytes.substr(4, 2), std::string("\0\0", 2));
    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, bytes), 1);
    EXPECT_EQ(back.rows[0].cells, (RowCells{"plain", "next"}));
    EXPECT_EQ(back.rows[1].cells, (RowCells{"表", ""}));
    EXPECT_EQ(back.columns[kColumnAuthor].displayName, "作者");
}

TEST(ListFile, TextsOutsideCp932SwitchTheFileToUtf8) {
    CatalogList list = freshCatalog();
    appendRow(list, kIconFolder, {"한국어 😀", "/home/ü/表"});
    appendRow(list, kIconFile, {"ｶﾀｶﾅ", "plain"});
    std::string bytes = listFileBytes(list);
    EXPECT_EQ(bytes.substr(4, 2), "U8");
    EXPECT_NE(bytes.find("タイトル"), std::string::npos); // names are UTF-8 too
    CatalogList back = freshCatalog();
    ASSERT_EQ(readListBytes(back, bytes), 1);
    expectSameCatalog(list, back);
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
