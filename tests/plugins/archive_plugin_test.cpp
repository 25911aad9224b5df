// archive_plugin_test.cpp - archive.spi called through its exports.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "archive/archive_reader.h"
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

TEST_F(ArchivePlugin, ListsFromAMemoryImage) {
    std::string zip = encoders::writeArchive(ArchiveFormat::Zip, kBook);
    std::vector<char> image(zip.begin(), zip.end());
    Listed listed = plugin.list(image.data(), long(image.size()), SPI_INPUT_MEMORY);
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT);
    ASSERT_EQ(listed.members.size(), 4u);
    EXPECT_STREQ(listed.members[2].filename, "03.gif");
}

TEST_F(ArchivePlugin, LongNamesAreCutAtCharacterBoundaries) {
    std::string longName, deepFolder;
    for (int i = 0; i < 100; ++i) longName += "\xE3\x81\x82"; // 300 bytes of "a" in hiragana
    for (int i = 0; i < 30; ++i) deepFolder += "folder" + std::to_string(i) + "/";
    ArchiveMembers members = {{longName + ".png", "1"}, {deepFolder + "x.png", "2"}};
    Listed listed = plugin.listFile(save(encoders::writeArchive(ArchiveFormat::Zip, members)));
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT);
    ASSERT_EQ(listed.members.size(), 2u);
    size_t cut = std::strlen(listed.members[0].filename);
    EXPECT_LT(cut, 200u);
    EXPECT_EQ(cut % 3, 0u);
    EXPECT_EQ(std::string(listed.members[0].filename), longName.substr(0, cut));
    size_t folder = std::strlen(listed.members[1].path);
    EXPECT_LT(folder, 200u);
    EXPECT_EQ(listed.members[1].path[folder - 1], '/');
    EXPECT_STREQ(listed.members[1].filename, "x.png");
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

    // A zip whose headers declare 3.75 GiB for a small member.
    std::string zip = encoders::writeArchive(ArchiveFormat::Zip, {{"bomb.bin", std::string(5000, 'z')}});
    const char declared[4] = {0, 0, 0, char(0xF0)};
    for (size_t at = zip.find("PK\1\2"); at != std::string::npos; at = zip.find("PK\1\2", at + 4))
        zip.replace(at + 24, 4, declared, 4);
    size_t local = zip.find("PK\3\4");
    zip.replace(local + 22, 4, declared, 4);
    int result = -1;
    plugin.extract(save(zip), 0, result);
    EXPECT_EQ(result, SPI_NO_MEMORY);

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

TEST(ArchiveNames, CopyNameFieldNeverSplitsACharacter) {
    char field[6];
    copyNameField(field, sizeof field, "ab\xE3\x81\x82\xE3\x81\x82", 8);
    EXPECT_STREQ(field, "ab\xE3\x81\x82");
    copyNameField(field, sizeof field, "abcd\xE3\x81\x82", 7);
    EXPECT_STREQ(field, "abcd");
    copyNameField(field, sizeof field, "abc", 3);
    EXPECT_STREQ(field, "abc");
}
