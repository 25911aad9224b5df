#include "sources/page_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/file_system.h"
#include "platform/text_compare.h"
#include "plugin_folder.h"
#include "support/bmp_writer.h"

using testing_support::makeBmp;
using testing_support::PluginFolder;
using testing_support::TempFolder;
using testing_support::TestMember;
using testing_support::writeFile;

TEST(SortEntries, OrdersByTheLocaleIgnoringCaseWithDigitsAsCharacters) {
    std::vector<std::string> names = {"pic2.jpg", "Pic10.jpg", "pic1.jpg"};
    sortEntries(names);
    EXPECT_EQ(names, (std::vector<std::string>{"pic1.jpg", "Pic10.jpg", "pic2.jpg"}));
}

TEST(SortEntries, TiesFollowTheExchangeSort) {
    // The positions show which of two equal names went where.
    struct Case {
        std::vector<std::string> names, sorted;
        std::vector<std::int32_t> positions;
    };
    const Case cases[] = {
        {{"b", "A", "a"}, {"A", "a", "b"}, {1, 2, 0}},
        {{"b", "a", "A"}, {"a", "A", "b"}, {1, 2, 0}},
        {{"a", "b", "A"}, {"a", "A", "b"}, {0, 2, 1}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names = c.names;
        std::vector<std::int32_t> positions = {0, 1, 2}, sizes = {10, 11, 12};
        sortEntries(names, &positions, &sizes);
        EXPECT_EQ(names, c.sorted);
        EXPECT_EQ(positions, c.positions);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(sizes[i], positions[i] + 10);
    }
}

TEST(SortEntries, TheCurrentIndexFollowsItsEntry) {
    std::vector<std::string> names = {"c", "b", "a"};
    int current = 0, previous = -1;
    sortEntries(names, nullptr, nullptr, &current, &previous);
    EXPECT_EQ(current, 2);
    EXPECT_EQ(previous, 2);

    std::mt19937 random(11);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> many;
        for (int i = 0; i < 40; ++i)
            many.push_back("p" + std::to_string(random() % 1000) + ".jpg");
        many.push_back("target.jpg");
        std::shuffle(many.begin(), many.end(), random);
        int at = static_cast<int>(std::find(many.begin(), many.end(), "target.jpg") - many.begin());
        sortEntries(many, nullptr, nullptr, &at, &previous);
        EXPECT_EQ(many[static_cast<std::size_t>(at)], "target.jpg");
        EXPECT_TRUE(std::is_sorted(many.begin(), many.end(), [](auto& a, auto& b) {
            return platform::compareNoCase(a, b) < 0;
        }));
    }
}

TEST(PathHelpers, NamesExtensionsAndClasses) {
    PluginFolder folder;
    folder.install("archive");
    PageList list(folder.path());
    writeFile(folder / "my.books/page", "x");
    writeFile(folder / "book.TARC", "x");

    std::string text;
    EXPECT_EQ(extensionOf("a.b.JPG", text), 1);
    EXPECT_EQ(text, ".JPG");
    EXPECT_EQ(extensionOf(folder / "my.books/page", text), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(displayNameOf(folder / "my.books/", text), 1);
    EXPECT_EQ(text, "my.books");
    EXPECT_EQ(displayNameOf(folder / "nothing", text), 0);
    EXPECT_EQ(pathExists(folder / "my.books"), 1);
    EXPECT_EQ(pathExists(folder / "nothing"), 0);

    std::string part, name;
    EXPECT_EQ(list.splitPath(folder / "nothing", part, name), kPathMissing);
    EXPECT_EQ(list.splitPath(folder / "my.books/page", part, name), kPathFile);
    EXPECT_EQ(part, folder / "my.books/");
    EXPECT_EQ(name, "page");
    EXPECT_EQ(list.splitPath(folder / "my.books/", part, name), kPathFolder);
    EXPECT_EQ(part, folder.path());
    EXPECT_EQ(name, "my.books");
    EXPECT_EQ(list.splitPath(folder / "book.TARC", part, name), kPathArchive);
}

class FolderListTest : public ::testing::Test {
protected:
    FolderListTest() : list(plugins.path()) {}
    void SetUp() override {
        for (const char* name : {"pic2.bmp", "Pic10.bmp", "pic1.bmp", "notes.txt", "noextension"})
            writeFile(book / name, makeBmp(2, 2, 24));
        testing_support::makeFolder(book / "scans.bmp");
    }
    PluginFolder plugins;
    PageList list;
    TempFolder book;
};

TEST_F(FolderListTest, ListsPicturesSortedWithTheOpenedOneCurrent) {
    list.buildFolderList(book / "pic2.bmp");
    EXPECT_EQ(list.entries, (std::vector<std::string>{"pic1.bmp", "Pic10.bmp", "pic2.bmp"}));
    EXPECT_EQ(list.pageCount, 3);
    EXPECT_EQ(list.currentIndex, 2);
    EXPECT_EQ(list.previousIndex, 2);
    EXPECT_EQ(list.navigable, 1);
    EXPECT_EQ(list.folder, book.path());
    EXPECT_EQ(list.entryPosition.size(), 3u);
    std::string expectedName;
    displayNameOf(book.path(), expectedName);
    EXPECT_EQ(list.folderName, expectedName);
}

TEST_F(FolderListTest, AnUnlistedFileLeavesTheFirstEntryCurrent) {
    list.buildFolderList(book / "notes.txt");
    EXPECT_EQ(list.pageCount, 3);
    EXPECT_EQ(list.currentIndex, 0);
}

TEST_F(FolderListTest, ExactNamesWinOverCaseInsensitiveOnes) {
    writeFile(book / "PIC1.bmp", makeBmp(2, 2, 24));
    list.buildFolderList(book / "pic1.bmp");
    ASSERT_EQ(list.pageCount, 4);
    EXPECT_EQ(list.entries[static_cast<std::size_t>(list.currentIndex)], "pic1.bmp");
    list.buildFolderList(book / "PIC1.bmp");
    EXPECT_EQ(list.entries[static_cast<std::size_t>(list.currentIndex)], "PIC1.bmp");
}

TEST_F(FolderListTest, FirstPictureOfAFolder) {
    std::string path;
    ASSERT_EQ(list.firstPictureOf(book.path(), path), 1);
    EXPECT_EQ(path, book / "pic1.bmp");
    EXPECT_EQ(list.pageCount, 0); // the list itself is untouched

    TempFolder empty;
    writeFile(empty / "readme.txt", "x");
    EXPECT_EQ(list.firstPictureOf(empty.path(), path), 0);
    EXPECT_EQ(list.errorText, kNoPictureInFolderText);
    EXPECT_EQ(list.firstPictureOf(book / "notes.txt", path), 0);
    EXPECT_EQ(list.errorText, kSearchHandleText);
}

TEST(FolderList, CapsAt4000InListingOrder) {
    PluginFolder plugins;
    PageList list(plugins.path());
    TempFolder book;
    for (int i = 0; i < kMaxPages + 500; ++i)
        writeFile(book / (std::to_string(i) + ".bmp"), "");
    list.buildFolderList(book / "7.bmp");
    ASSERT_EQ(list.pageCount, kMaxPages);
    auto listing = platform::listFolder(book.path());
    std::vector<std::string> first;
    for (int i = 0; i < kMaxPages; ++i)
        first.push_back((*listing)[static_cast<std::size_t>(i)].name);
    std::vector<std::string> listed = list.entries;
    std::sort(first.begin(), first.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, first);
}

class ArchiveListTest : public ::testing::Test {
protected:
    ArchiveListTest() : list((plugins.install("archive"), plugins.path())) {}
    // Writes an archive of `members` and builds the list from it.
    int build(const std::vector<TestMember>& members) {
        writeFile(files / "book.tarc", testing_support::testArchive(members));
        if (!list.host.findArchivePlugin(files / "book.tarc")) return -1;
        return list.buildArchiveList(files / "book.tarc");
    }
    PluginFolder plugins;
    PageList list;
    TempFolder files;
};

TEST_F(ArchiveListTest, OnePictureAmongTextsIsNotNavigable) {
    ASSERT_EQ(build({{"", "readme.txt", ""}, {"", "p.bmp", ""}, {"", "info.nfo", ""}}), 1);
    EXPECT_EQ(list.pageCount, 1);
    EXPECT_EQ(list.navigable, 0);
    EXPECT_EQ(list.entries, std::vector<std::string>{"p.bmp"});
    EXPECT_EQ(list.entryPosition, std::vector<std::int32_t>{1001});
    EXPECT_EQ(list.archivePath, files / "book.tarc");
    EXPECT_EQ(list.archiveName, "book.tarc");
}

TEST_F(ArchiveListTest, SameNamesInInnerFoldersAreBothListed) {
    ASSERT_EQ(build({{"b/", "02.bmp", ""}, {"a/", "01.bmp", ""}, {"c/", "01.bmp", ""}}), 1);
    EXPECT_EQ(list.entries, (std::vector<std::string>{"01.bmp", "01.bmp", "02.bmp"}));
    EXPECT_EQ(list.entryPosition, (std::vector<std::int32_t>{1001, 1002, 1000}));
    EXPECT_EQ(list.navigable, 1);
    EXPECT_EQ(list.currentIndex, 0);
}

TEST_F(ArchiveListTest, NoPictureLeavesTheListAsItWas) {
    ASSERT_EQ(build({{"", "a.bmp", ""}, {"", "b.bmp", ""}}), 1);
    EXPECT_EQ(build({{"", "readme.txt", ""}}), 0);
    EXPECT_EQ(list.entries, (std::vector<std::string>{"a.bmp", "b.bmp"}));
    EXPECT_EQ(build({}), 0);
    EXPECT_EQ(list.pageCount, 2);
}

TEST_F(ArchiveListTest, OnlyTheFirst4000MembersAreConsidered) {
    std::vector<TestMember> members;
    for (int i = 0; i < kMaxPages; ++i)
        members.push_back({"", "t" + std::to_string(i) + ".txt", ""});
    for (int i = 0; i < 500; ++i)
        members.push_back({"", "p" + std::to_string(i) + ".bmp", ""});
    EXPECT_EQ(build(members), 0);
    members.insert(members.begin(), {"", "first.bmp", ""});
    ASSERT_EQ(build(members), 1);
    EXPECT_EQ(list.entries, std::vector<std::string>{"first.bmp"});
}
