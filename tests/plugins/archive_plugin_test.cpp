// archive_plugin_test.cpp - archive.spi called through its exports.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <vector>

#include "archive/archive_reader.h"
#include "archive/member_names.h"
#include "hostile/hostile_files.h"
#include "sample_book/stored_archives.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/archive_writer.h"

using namespace plugin_testing;
using encoders::ArchiveFormat;
using encoders::ArchiveMembers;
using encoders::writeStoredLzh;
using encoders::writeStoredRar4;
using encoders::writeStoredRar5;

namespace {

struct ArchivePlugin : ::testing::Test {
    LoadedPlugin plugin{"archive"};
    testing_support::TempFolder folder;

    std::string save(const std::string& bytes, const std::string& name = "archive") {
        std::string path = folder / name;
        testing_support::writeFile(path, bytes);
        return path;
    }
};

const ArchiveMembers kBook = {
    {"02.png", std::string(3000, 'b')},
    {"inner/", ""},
    {"inner/01.jpg", "jpeg bytes"},
    {"inner/deeper/03.gif", std::string(70000, 'g') + "end"},
    {"empty.txt", ""},
};

// Every archive type lists kBook's files in order, folders left out, and
// gives each back by its position.
void checkBook(ArchivePlugin& t, const std::string& path, const std::string& label) {
    Listed listed = t.plugin.listFile(path);
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT) << label;
    ASSERT_EQ(listed.members.size(), 4u) << label;
    const char* paths[] = {"", "inner/", "inner/deeper/", ""};
    const char* names[] = {"02.png", "01.jpg", "03.gif", "empty.txt"};
    const size_t sources[] = {0, 2, 3, 4};
    for (size_t i = 0; i < 4; ++i) {
        const SpiFileInfo& m = listed.members[i];
        EXPECT_STREQ(m.path, paths[i]) << label;
        EXPECT_STREQ(m.filename, names[i]) << label;
        const std::string& data = kBook[sources[i]].second;
        EXPECT_EQ(m.filesize, data.size()) << label << " " << names[i];
        int result = -1;
        std::string got = t.plugin.extract(path, long(m.position), result);
        EXPECT_EQ(result, SPI_ALL_RIGHT) << label << " " << names[i];
        EXPECT_TRUE(got == data) << label << " " << names[i];
    }
}

} // namespace

TEST_F(ArchivePlugin, DescribesItselfAsAnArchivePlugin) {
    EXPECT_EQ(plugin.info(0), "00AM");
    EXPECT_EQ(plugin.info(2), "*.zip;*.cbz;*.rar;*.cbr;*.7z;*.cb7;*.tar;*.cbt;*.lzh;*.lha");
    EXPECT_FALSE(plugin.info(3).empty());
    EXPECT_EQ(plugin.info(4), "");
}

TEST_F(ArchivePlugin, TakesEachArchiveTypeByContent) {
    ArchiveMembers one = {{"a.png", "x"}};
    for (const std::string& bytes :
         {encoders::writeArchive(ArchiveFormat::Zip, one), encoders::writeArchive(ArchiveFormat::SevenZip, one),
          encoders::writeArchive(ArchiveFormat::Tar, one), writeStoredRar4(one), writeStoredRar5(one),
          writeStoredLzh(one)}) {
        EXPECT_EQ(plugin.supportsFile(folder, bytes), 1);
        EXPECT_NE(plugin.supportsMemory(bytes), 0);
    }
    EXPECT_EQ(plugin.supportsFile(folder, "\xFF\xD8\xFF\xE0 not an archive"), 0);
    EXPECT_EQ(plugin.supportsMemory(""), 0);
}

TEST_F(ArchivePlugin, ListsAndExtractsZipSevenZipAndTar) {
    checkBook(*this, save(encoders::writeArchive(ArchiveFormat::Zip, kBook), "book.cbz"), "zip");
    checkBook(*this, save(encoders::writeArchive(ArchiveFormat::SevenZip, kBook), "book.7z"), "7z");
    checkBook(*this, save(encoders::writeArchive(ArchiveFormat::Tar, kBook), "book.tar"), "tar");
}

TEST_F(ArchivePlugin, ListsAndExtractsStoredRarAndLzh) {
    ArchiveMembers files;
    for (const auto& member : kBook)
        if (member.first.back() != '/') files.push_back(member);
    // The handmade writers have no folder entries; positions then count files only.
    for (const auto& [label, bytes] : {std::pair{"rar", writeStoredRar4(files)}, std::pair{"cbr", writeStoredRar5(files)},
                                       std::pair{"lzh", writeStoredLzh(files)}}) {
        std::string path = save(bytes, std::string("book.") + label);
        Listed listed = plugin.listFile(path);
        ASSERT_EQ(listed.result, SPI_ALL_RIGHT) << label;
        ASSERT_EQ(listed.members.size(), files.size()) << label;
        EXPECT_STREQ(listed.members[1].path, "inner/") << label;
        EXPECT_STREQ(listed.members[1].filename, "01.jpg") << label;
        for (size_t i = 0; i < files.size(); ++i) {
            int result = -1;
            EXPECT_TRUE(plugin.extract(path, long(listed.members[i].position), result) == files[i].second) << label << i;
            EXPECT_EQ(result, SPI_ALL_RIGHT) << label << i;
        }
    }
}

TEST_F(ArchivePlugin, RarMembersWhoseDataFailsTheirCrcAreRefused) {
    ArchiveMembers files = {{"01.bmp", "first page"}, {"02.bmp", "second page"}, {"03.bmp", "third page"}};
    for (const auto& [label, bytes] : {std::pair{"rar", writeStoredRar4(files)}, std::pair{"cbr", writeStoredRar5(files)}}) {
        for (size_t damaged = 0; damaged < files.size(); ++damaged) {
            std::string broken = bytes;
            broken[broken.find(files[damaged].second) + 2] ^= 0x20; // data only: the headers stay sound
            std::string path = save(broken, std::string("book.") + label);
            Listed listed = plugin.listFile(path);
            ASSERT_EQ(listed.members.size(), files.size()) << label;
            for (size_t i = 0; i < files.size(); ++i) {
                int result = -1;
                std::string got = plugin.extract(path, long(listed.members[i].position), result);
                if (i == damaged) {
                    EXPECT_EQ(result, SPI_OUT_OF_ORDER) << label << " " << i;
                } else {
                    EXPECT_EQ(result, SPI_ALL_RIGHT) << label << " " << i;
                    EXPECT_EQ(got, files[i].second) << label << " " << i;
                }
            }
            // The same from a memory image.
            ArchiveSource source;
            source.data = broken.data();
            source.size = broken.size();
            SpiHandle member = nullptr;
            EXPECT_EQ(extractMember(source, long(damaged), 1 << 20, &member), SPI_OUT_OF_ORDER) << label;
        }
    }
}

TEST_F(ArchivePlugin, ListsFromAMemoryImage) {
    std::string zip = encoders::writeArchive(ArchiveFormat::Zip, kBook);
    std::vector<char> image(zip.begin(), zip.end());
    Listed listed = plugin.list(image.data(), long(image.size()), SPI_INPUT_MEMORY);
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT);
    ASSERT_EQ(listed.members.size(), 4u);
    EXPECT_STREQ(listed.members[2].filename, "03.gif");
}

TEST_F(ArchivePlugin, LongNamesAreCutAtCharacterBoundariesAndKeepTheirExtension) {
    std::string longName, deepFolder;
    for (int i = 0; i < 100; ++i) longName += "\xE3\x81\x82"; // 300 bytes of "a" in hiragana
    for (int i = 0; i < 30; ++i) deepFolder += "folder" + std::to_string(i) + "/";
    ArchiveMembers members = {{longName + ".png", "1"}, {deepFolder + "x.png", "2"}};
    Listed listed = plugin.listFile(save(encoders::writeArchive(ArchiveFormat::Zip, members)));
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT);
    ASSERT_EQ(listed.members.size(), 2u);
    std::string name = listed.members[0].filename;
    EXPECT_EQ(name.size(), 199u); // 65 whole characters of three bytes, and ".png"
    EXPECT_EQ(name, longName.substr(0, 195) + ".png");
    size_t folder = std::strlen(listed.members[1].path);
    EXPECT_LT(folder, 200u);
    EXPECT_EQ(listed.members[1].path[folder - 1], '/');
    EXPECT_STREQ(listed.members[1].filename, "x.png");
}

namespace {

// `bytes` with each occurrence of the ASCII `placeholder` replaced by the
// stored name `name` of the same length, as a program that writes names in
// the system's code page stores them. TAR headers get their checksum anew.
std::string withStoredName(std::string bytes, const std::string& placeholder, const std::string& name, bool tar) {
    for (size_t at = bytes.find(placeholder); at != std::string::npos; at = bytes.find(placeholder, at + 1)) {
        bytes.replace(at, name.size(), name);
        if (!tar) continue;
        size_t header = at / 512 * 512;
        bytes.replace(header + 148, 8, 8, ' ');
        unsigned sum = 0;
        for (size_t i = 0; i < 512; ++i) sum += static_cast<unsigned char>(bytes[header + i]);
        char field[8];
        std::snprintf(field, sizeof field, "%06o", sum);
        bytes.replace(header + 148, 7, field, 7);
    }
    return bytes;
}

// Lists with the process in `locale` (the viewer runs in a UTF-8 one, the
// tests in "C"), putting the old one back.
Listed listIn(ArchivePlugin& t, const char* locale, const std::string& path) {
    std::string old = std::setlocale(LC_ALL, nullptr);
    EXPECT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
    Listed listed = t.plugin.listFile(path);
    std::setlocale(LC_ALL, old.c_str());
    return listed;
}

} // namespace

TEST_F(ArchivePlugin, NamesStoredInCp932AreReadAsCp932) {
    // "表紙/ソ.png" in CP932: 表 and ソ end in the byte of '\'.
    const std::string cp932Path = "\x95\x5C\x8E\x86/\x83\x5C.png";
    const std::string placeholder = "AAAA/BB.png";
    const std::pair<std::string, std::string> archives[] = {
        {"zip", withStoredName(encoders::writeArchive(ArchiveFormat::Zip, {{placeholder, "z"}}), placeholder, cp932Path, false)},
        {"tar", withStoredName(encoders::writeArchive(ArchiveFormat::Tar, {{placeholder, "t"}}), placeholder, cp932Path, true)},
        {"rar", writeStoredRar4({{cp932Path, "r"}})},
    };
    for (const char* locale : {"C", "C.UTF-8"})
        for (const auto& [label, bytes] : archives) {
            Listed listed = listIn(*this, locale, save(bytes, "names." + label));
            ASSERT_EQ(listed.result, SPI_ALL_RIGHT) << label << " " << locale;
            ASSERT_EQ(listed.members.size(), 1u) << label << " " << locale;
            EXPECT_STREQ(listed.members[0].path, "表紙/") << label << " " << locale;
            EXPECT_STREQ(listed.members[0].filename, "ソ.png") << label << " " << locale;
        }
    // Names that are UTF-8 stay so; names that are neither stay as stored.
    std::string zip = encoders::writeArchive(ArchiveFormat::Zip, {{"表紙.png", "u"}, {"CCC.png", "x"}});
    Listed listed = plugin.listFile(save(withStoredName(zip, "CCC", "\xFF\xFE\xFD", false)));
    ASSERT_EQ(listed.members.size(), 2u);
    EXPECT_STREQ(listed.members[0].filename, "表紙.png");
    EXPECT_STREQ(listed.members[1].filename, "\xFF\xFE\xFD.png");
}

TEST_F(ArchivePlugin, BrokenArchivesGiveErrorCodes) {
    int result = -1;
    EXPECT_EQ(plugin.listFile(folder / "missing.zip").result, SPI_FILE_READ_ERROR);
    EXPECT_EQ(plugin.listFile(save("this is not an archive at all")).result, SPI_NOT_SUPPORT);
    for (ArchiveFormat format : {ArchiveFormat::Zip, ArchiveFormat::SevenZip, ArchiveFormat::Tar}) {
        std::string bytes = encoders::writeArchive(format, kBook);
        for (size_t n = 0; n < bytes.size(); n += bytes.size() / 23 + 1) {
            std::string path = save(bytes.substr(0, n));
            Listed listed = plugin.listFile(path);
            EXPECT_GE(listed.result, 0);
            for (const SpiFileInfo& m : listed.members) plugin.extract(path, long(m.position), result);
            // What a truncated archive still gives back is the member, never a part of it.
            std::string got = plugin.extract(path, 3, result);
            if (result == SPI_ALL_RIGHT) {
                EXPECT_TRUE(got == kBook[3].second);
            }
        }
        std::string corrupt = bytes;
        for (size_t i = 40; i < corrupt.size(); i += 97) corrupt[i] = char(~corrupt[i]);
        std::string path = save(corrupt);
        EXPECT_GE(plugin.listFile(path).result, 0);
        for (long position = 0; position < 6; ++position) plugin.extract(path, position, result);
    }
    std::string path = save(encoders::writeArchive(ArchiveFormat::Zip, kBook));
    plugin.extract(path, 99, result);
    EXPECT_EQ(result, SPI_OUT_OF_ORDER);
    plugin.extract(path, -1, result);
    EXPECT_EQ(result, SPI_OUT_OF_ORDER);
    plugin.extract(path, 1, result); // the folder entry
    EXPECT_EQ(result, SPI_OUT_OF_ORDER);
    SpiHandle block = nullptr;
    EXPECT_EQ(plugin.getFile(path.c_str(), 0, reinterpret_cast<char*>(&block), SPI_OUTPUT_FILE, nullptr, 0),
              SPI_NO_FUNCTION);
}

TEST_F(ArchivePlugin, MembersOverTheLimitAreRefused) {
    EXPECT_GE(memberSizeLimit(), std::min<size_t>(size_t(1) << 30, memberSizeLimit()));
    EXPECT_LE(memberSizeLimit(), size_t(1) << 30);

    // A zip whose headers declare 3.75 GiB for a small member, or 100 bytes
    // for its 5000: the first is refused before anything is unpacked, the
    // second once it unpacks past the 100.
    std::string zip = encoders::writeArchive(ArchiveFormat::Zip, {{"bomb.bin", std::string(5000, 'z')}});
    int result = -1;
    plugin.extract(save(hostile::withZipSizes(zip, 0xF0000000u)), 0, result);
    EXPECT_EQ(result, SPI_NO_MEMORY);
    plugin.extract(save(hostile::withZipSizes(zip, 100)), 0, result);
    EXPECT_EQ(result, SPI_OUT_OF_ORDER);

    // A sparse member unpacks with its holes: 2 GiB of them is over the
    // limit before a byte is unpacked, 4 KiB is a member like any other.
    plugin.extract(save(hostile::sparseTar("page.bmp", std::uint64_t{2} << 30, "data")), 0, result);
    EXPECT_EQ(result, SPI_NO_MEMORY);
    std::string unpacked = plugin.extract(save(hostile::sparseTar("page.bmp", 4096, "data")), 0, result);
    ASSERT_EQ(result, SPI_ALL_RIGHT);
    std::string data("data");
    data.resize(512, '\0');
    EXPECT_EQ(unpacked, std::string(4096, '\0') + data);

    // A member that inflates past the limit is stopped while it inflates.
    std::string big(3 << 20, '\0');
    std::string tar = encoders::writeArchive(ArchiveFormat::Tar, {{"small", "ok"}, {"big", big}});
    ArchiveSource source;
    source.data = tar.data();
    source.size = tar.size();
    SpiHandle member = nullptr;
    EXPECT_EQ(extractMember(source, 1, 1 << 20, &member), SPI_NO_MEMORY);
    EXPECT_EQ(extractMember(source, 0, 1 << 20, &member), SPI_ALL_RIGHT);
    EXPECT_EQ(spiSize(member), 2u);
    spiFree(member);
}

TEST(ArchiveNames, CopyFileNameKeepsTheExtensionOfANameThatDoesNotFit) {
    char field[12];
    copyFileName(field, sizeof field, "page-0001-final.jpeg");
    EXPECT_STREQ(field, "page-0.jpeg");
    copyFileName(field, sizeof field, "short.jpeg");
    EXPECT_STREQ(field, "short.jpeg");
    copyFileName(field, sizeof field, "\xE3\x81\x82\xE3\x81\x82\xE3\x81\x82.png"); // three hiragana
    EXPECT_STREQ(field, "\xE3\x81\x82\xE3\x81\x82.png");
    // Without an extension, or with one that takes half the field, the end goes.
    copyFileName(field, sizeof field, "no-extension-at-all");
    EXPECT_STREQ(field, "no-extensio");
    copyFileName(field, sizeof field, "a.extension-too-long");
    EXPECT_STREQ(field, "a.extension");
}

TEST(ArchiveNames, CopyNameFieldNeverSplitsACharacter) {
    char field[6];
    copyNameField(field, sizeof field, "ab\xE3\x81\x82\xE3\x81\x82", 8);
    EXPECT_STREQ(field, "ab\xE3\x81\x82");
    copyNameField(field, sizeof field, "abcd\xE3\x81\x82", 7);
    EXPECT_STREQ(field, "abcd");
    copyNameField(field, sizeof field, "abc", 3);
    EXPECT_STREQ(field, "abc");
}
