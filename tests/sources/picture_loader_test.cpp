#include "sources/page_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "plugin_folder.h"
#include "support/bmp_writer.h"

using testing_support::makeBmp;
using testing_support::makeDib;
using testing_support::PluginFolder;
using testing_support::takeBits;
using testing_support::TempFolder;
using testing_support::testArchive;
using testing_support::TestMember;
using testing_support::tpicFile;
using testing_support::writeFile;

namespace {

std::string bitsOf(unsigned seed) {
    return makeDib(3, 2, 24, seed).bits;
}

} // namespace

class LoaderTest : public ::testing::Test {
protected:
    // Plug-ins first: the page list loads them when it is made.
    void usePlugins(std::initializer_list<const char*> names) {
        for (const char* name : names)
            plugins.install(name);
        list = std::make_unique<PageList>(plugins.path());
    }
    PluginFolder plugins;
    std::unique_ptr<PageList> list = std::make_unique<PageList>(plugins.path());
    TempFolder files;
};

TEST_F(LoaderTest, StartsWithNoErrorText) {
    EXPECT_EQ(list->errorText, kNoErrorText);
}

TEST_F(LoaderTest, OpensABmpAndBuildsTheFolderList) {
    writeFile(files / "b.bmp", makeBmp(3, 2, 24, 2));
    writeFile(files / "a.bmp", makeBmp(3, 2, 24, 1));
    list->archiveMode = 1;
    ASSERT_EQ(list->open(files / "b.bmp"), 1);
    EXPECT_EQ(takeBits(*list), bitsOf(2));
    EXPECT_EQ(list->archiveMode, 0);
    EXPECT_EQ(list->pageCount, 2);
    EXPECT_EQ(list->currentIndex, 1);
}

TEST_F(LoaderTest, AFolderOpensItsFirstPictureByName) {
    writeFile(files / "book/02.bmp", makeBmp(3, 2, 24, 2));
    writeFile(files / "book/01.bmp", makeBmp(3, 2, 24, 1));
    ASSERT_EQ(list->open(files / "book"), 1);
    EXPECT_EQ(takeBits(*list), bitsOf(1));
    EXPECT_EQ(list->currentIndex, 0);
    EXPECT_EQ(list->folder, files / "book/");
}

TEST_F(LoaderTest, AFolderWhoseFirstPictureIsBrokenFails) {
    writeFile(files / "book/01.bmp", "BM broken");
    writeFile(files / "book/02.bmp", makeBmp(3, 2, 24, 2));
    EXPECT_EQ(list->open(files / "book"), 0);
    EXPECT_EQ(list->errorText, kNotSupportedText);
    EXPECT_EQ(list->pageCount, 0);
}

TEST_F(LoaderTest, MissingEmptyAndUnsupportedPaths) {
    EXPECT_EQ(list->open(files / "nothing.bmp"), 0);
    EXPECT_EQ(list->errorText, kFileNotFoundText);
    EXPECT_EQ(list->open(files / "nothing"), 0);
    EXPECT_EQ(list->errorText, kFileNotFoundText);
    testing_support::makeFolder(files / "empty");
    EXPECT_EQ(list->open(files / "empty"), 0);
    EXPECT_EQ(list->errorText, kNoPictureInFolderText);
    writeFile(files / "notes.txt", "hello");
    EXPECT_EQ(list->open(files / "notes.txt"), 0);
    EXPECT_EQ(list->errorText, kNotSupportedText);
}

TEST_F(LoaderTest, APictureNamedBmpIsFoundByContent) {
    usePlugins({"content"});
    writeFile(files / "fake.bmp", tpicFile(3, 2, 24, 5));
    ASSERT_EQ(list->open(files / "fake.bmp"), 1);
    EXPECT_EQ(takeBits(*list), bitsOf(5));
}

TEST_F(LoaderTest, ABmpUnderAnotherExtensionIsReadByContent) {
    usePlugins({"content"});
    writeFile(files / "page.xyz", makeBmp(3, 2, 24, 6));
    ASSERT_EQ(list->open(files / "page.xyz"), 1);
    EXPECT_EQ(takeBits(*list), bitsOf(6));
    // Its extension lists it nowhere, so it is not in the list.
    EXPECT_EQ(list->pageCount, 0);
    EXPECT_EQ(list->navigable, 0);
}

TEST_F(LoaderTest, AnAcceptingPluginThatFailsEndsTheOpen) {
    usePlugins({"fail"});
    // The built-in reader could read this file, but it is not tried.
    writeFile(files / "page.xyz", makeBmp(3, 2, 24, 6));
    EXPECT_EQ(list->open(files / "page.xyz"), 0);
    EXPECT_EQ(list->errorText, kDecodeErrorText);
}

TEST_F(LoaderTest, APluginPictureIsMadePlainOrRefused) {
    usePlugins({"content"});
    // A top-down 32-bit picture comes out as bottom-up 24-bit rows.
    const std::string rows("\x01\x02\x03\x00\x04\x05\x06\x00", 8);
    writeFile(files / "a.tpc", "TPIC" + testing_support::makeBmpFile({40, 1, -2, 32, 0, 0, {}, "", rows}));
    ASSERT_EQ(list->open(files / "a.tpc"), 1);
    EXPECT_EQ(takeBits(*list), std::string("\x04\x05\x06\x00\x01\x02\x03\x00", 8));
    // One that cannot be made plain is the plug-in's failure.
    writeFile(files / "b.tpc", "TPIC" + testing_support::makeBmpFile({40, 1, 2, 24, 4, 0, {}, "", rows}));
    EXPECT_EQ(list->open(files / "b.tpc"), 0);
    EXPECT_EQ(list->errorText, kDecodeErrorText);
}

// A FIFO named like a picture hung the viewer in its open; /dev/zero was
// read without end. Both are pages like any other that give the loading
// error. The alarm turns a hang into a failure.
TEST_F(LoaderTest, APageThatIsNoRegularFileGetsTheLoadingError) {
    usePlugins({"content"});
    writeFile(files / "a.bmp", makeBmp(3, 2, 24, 1));
    ASSERT_EQ(::mkfifo((files / "b.bmp").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", (files / "c.bmp").c_str()), 0);
    ::alarm(30);
    for (const char* name : {"b.bmp", "c.bmp"}) {
        EXPECT_EQ(list->open(files / name), 0) << name;
        EXPECT_EQ(list->errorText, kNotSupportedText) << name;
    }
    ASSERT_EQ(list->open(files / "a.bmp"), 1);
    takeBits(*list);
    ASSERT_EQ(list->pageCount, 3);
    EXPECT_EQ(list->loadPage(1, kRelative), kDecodeFailed);
    EXPECT_EQ(list->errorText, kNotSupportedText);
    EXPECT_EQ(list->loadPage(1, kRelative), kDecodeFailed);
    ::alarm(0);
}

TEST_F(LoaderTest, ArchivesOpenOnTheirFirstPictureByName) {
    usePlugins({"archive", "content"});
    writeFile(files / "p1", tpicFile(3, 2, 24, 1));
    writeFile(files / "p2", makeBmp(3, 2, 24, 2));
    writeFile(files / "book.tarc", testArchive({{"x/", "02.bmp", files / "p2"},
                                                {"", "readme.txt", ""},
                                                {"x/", "01.tpc", files / "p1"}}));
    ASSERT_EQ(list->open(files / "book.tarc"), 1);
    EXPECT_EQ(takeBits(*list), bitsOf(1));
    EXPECT_EQ(list->archiveMode, 1);
    EXPECT_EQ(list->entries, (std::vector<std::string>{"01.tpc", "02.bmp"}));
    ASSERT_EQ(list->loadPage(1, kRelative), kLoaded);
    EXPECT_EQ(takeBits(*list), bitsOf(2));
}

// A folder's first picture that opens as a book (a multi-page TIFF does)
// leaves the book open as a book: stepping goes through its members, not
// through the folder under their names.
TEST_F(LoaderTest, AFolderWhoseFirstPictureOpensAsABookStepsThroughTheBook) {
    usePlugins({"archive", "content"});
    writeFile(files / "p1", tpicFile(3, 2, 24, 1));
    writeFile(files / "p2", makeBmp(3, 2, 24, 2));
    writeFile(files / "book/01.bmp",
              testArchive({{"", "a.bmp", files / "p2"}, {"", "b.tpc", files / "p1"}}));
    writeFile(files / "book/02.bmp", makeBmp(3, 2, 24, 3));
    ASSERT_EQ(list->open(files / "book"), 1);
    EXPECT_EQ(list->archiveMode, 1);
    EXPECT_EQ(list->archivePath, files / "book/01.bmp");
    EXPECT_EQ(takeBits(*list), bitsOf(2));
    ASSERT_EQ(list->loadPage(1, kRelative), kLoaded);
    EXPECT_EQ(takeBits(*list), bitsOf(1));
}

TEST_F(LoaderTest, AnArchiveEntryThePluginFailsOnIsTriedWithTheBuiltInReader) {
    usePlugins({"archive", "fail"});
    writeFile(files / "p", makeBmp(3, 2, 24, 3));
    writeFile(files / "book.tarc", testArchive({{"", "a.bmp", files / "p"}}));
    ASSERT_EQ(list->open(files / "book.tarc"), 1);
    EXPECT_EQ(takeBits(*list), bitsOf(3));
}

TEST_F(LoaderTest, ArchiveFailuresRestoreTheSelectedArchivePlugin) {
    usePlugins({"archive"});
    list->host.selectedArchive = 7;
    writeFile(files / "texts.tarc", testArchive({{"", "readme.txt", ""}}));
    EXPECT_EQ(list->open(files / "texts.tarc"), 0);
    EXPECT_EQ(list->errorText, kNoPictureInArchiveText);
    EXPECT_EQ(list->host.selectedArchive, 7);

    writeFile(files / "junk", "not a picture");
    writeFile(files / "broken.tarc",
              testArchive({{"", "a.bmp", files / "junk"}, {"", "b.bmp", ""}}));
    EXPECT_EQ(list->open(files / "broken.tarc"), 0);
    EXPECT_EQ(list->errorText, kArchivePictureBrokenText);
    EXPECT_EQ(list->host.selectedArchive, 7);
    EXPECT_EQ(list->pageCount, 0); // nothing was open, nothing is
}

TEST_F(LoaderTest, AFailedArchiveOpenLeavesTheOpenBookAsItWas) {
    usePlugins({"archive"});
    writeFile(files / "p1", makeBmp(3, 2, 24, 1));
    writeFile(files / "p2", makeBmp(3, 2, 24, 2));
    writeFile(files / "book.tarc", testArchive({{"", "a.bmp", files / "p1"},
                                                {"", "b.bmp", files / "p2"}}));
    writeFile(files / "junk", "not a picture");
    writeFile(files / "broken.tarc", testArchive({{"", "c.bmp", files / "junk"},
                                                  {"", "d.bmp", files / "p1"},
                                                  {"", "e.bmp", files / "p2"}}));
    writeFile(files / "texts.tarc", testArchive({{"", "readme.txt", ""}}));
    ASSERT_EQ(list->open(files / "book.tarc"), 1);
    takeBits(*list);
    for (const char* failing : {"broken.tarc", "texts.tarc"}) {
        EXPECT_EQ(list->open(files / failing), 0) << failing;
        EXPECT_EQ(list->entries, (std::vector<std::string>{"a.bmp", "b.bmp"})) << failing;
        EXPECT_EQ(list->archiveMode, 1);
        EXPECT_EQ(list->archivePath, files / "book.tarc");
        EXPECT_EQ(list->archiveName, "book.tarc");
        EXPECT_EQ(list->currentIndex, 0);
        EXPECT_EQ(list->navigable, 1);
        // The next step reads the open archive's own member.
        ASSERT_EQ(list->loadPage(1, kRelative), kLoaded);
        EXPECT_EQ(takeBits(*list), bitsOf(2));
        list->currentIndex = 0;
    }
}

TEST_F(LoaderTest, AOnePictureArchiveCannotBeStepped) {
    usePlugins({"archive"});
    writeFile(files / "p", makeBmp(3, 2, 24, 3));
    writeFile(files / "one.tarc", testArchive({{"", "a.bmp", files / "p"}, {"", "n.txt", ""}}));
    ASSERT_EQ(list->open(files / "one.tarc"), 1);
    takeBits(*list);
    EXPECT_EQ(list->navigable, 0);
    EXPECT_EQ(list->loadPage(1, kRelative), kNoList);
    EXPECT_EQ(list->errorText, kCannotOpenNextText);
    EXPECT_EQ(list->loadNextForPair(), kNoList);
}

TEST_F(LoaderTest, ListedSizesLargerThanTheMemberAreHeldToTheBlock) {
    usePlugins({"archive"});
    writeFile(files / "p", makeBmp(3, 2, 24, 3));
    writeFile(files / "book.tarc",
              testArchive({{"", "a.bmp", files / "p", 1 << 30}, {"", "b.bmp", files / "p", -5}}));
    ASSERT_EQ(list->open(files / "book.tarc"), 1);
    EXPECT_EQ(takeBits(*list), bitsOf(3));
    EXPECT_EQ(list->loadPage(1, kRelative), kDecodeFailed);
    EXPECT_EQ(list->errorText, kNotSupportedText);
}

class SteppingTest : public LoaderTest {
protected:
    void SetUp() override {
        for (unsigned i = 0; i < 5; ++i)
            writeFile(files / ("0" + std::to_string(i) + ".bmp"), makeBmp(3, 2, 24, i));
        ASSERT_EQ(list->open(files / "00.bmp"), 1);
        takeBits(*list);
    }
    // Which page the last load decoded.
    unsigned loadedSeed() {
        std::string bits = takeBits(*list);
        for (unsigned i = 0; i < 5; ++i)
            if (bits == bitsOf(i)) return i;
        return 99;
    }
};

TEST_F(SteppingTest, ModesMoveAndWrapTheCurrentIndex) {
    ASSERT_EQ(list->loadPage(2, kRelative), kLoaded);
    EXPECT_EQ(loadedSeed(), 2u);
    EXPECT_EQ(list->previousIndex, 0);
    ASSERT_EQ(list->loadPage(4, kRelative), kLoaded); // 6 wraps to 1
    EXPECT_EQ(list->currentIndex, 1);
    EXPECT_EQ(loadedSeed(), 1u);
    ASSERT_EQ(list->loadPage(-3, kRelative), kLoaded); // -2 wraps to 3
    EXPECT_EQ(list->currentIndex, 3);
    takeBits(*list);
    ASSERT_EQ(list->loadPage(4, kAbsolute), kLoaded);
    EXPECT_EQ(loadedSeed(), 4u);
    ASSERT_EQ(list->loadPage(1, kFromEnd), kLoaded);
    EXPECT_EQ(list->currentIndex, 3);
    EXPECT_EQ(list->previousIndex, 4);
    takeBits(*list);
    ASSERT_EQ(list->loadPage(0, 9), kLoaded); // a reload
    EXPECT_EQ(list->currentIndex, 3);
    EXPECT_EQ(loadedSeed(), 3u);
}

TEST_F(SteppingTest, PeekLoadsWithoutMoving) {
    ASSERT_EQ(list->loadPage(4, kAbsolute), kLoaded);
    takeBits(*list);
    list->previousIndex = 2;
    ASSERT_EQ(list->loadPage(1, kPeek), kLoaded);
    EXPECT_EQ(loadedSeed(), 0u);
    EXPECT_EQ(list->currentIndex, 4);
    EXPECT_EQ(list->previousIndex, 2);
}

TEST_F(SteppingTest, DecodeEntryClampsAndMovesOnlyWhenClamping) {
    ASSERT_EQ(list->decodeEntry(list->pageCount), 1);
    EXPECT_EQ(list->currentIndex, 4);
    EXPECT_EQ(loadedSeed(), 4u);
    ASSERT_EQ(list->decodeEntry(-3), 1);
    EXPECT_EQ(list->currentIndex, 0);
    EXPECT_EQ(loadedSeed(), 0u);
    ASSERT_EQ(list->decodeEntry(2), 1);
    EXPECT_EQ(list->currentIndex, 0);
    EXPECT_EQ(loadedSeed(), 2u);
}

TEST_F(SteppingTest, PairLoadsWrapAndFailuresKeepTheStep) {
    ASSERT_EQ(list->loadPage(4, kAbsolute), kLoaded);
    takeBits(*list);
    ASSERT_EQ(list->loadNextForPair(), kLoaded);
    EXPECT_EQ(list->currentIndex, 0);
    EXPECT_EQ(list->previousIndex, 4);
    takeBits(*list);
    writeFile(files / "01.bmp", "broken");
    EXPECT_EQ(list->loadNextForPair(), kDecodeFailed);
    EXPECT_EQ(list->currentIndex, 1);
    EXPECT_EQ(list->errorText, kNotSupportedText);
}

TEST(Loader, EmptyListsRefuseEveryStep) {
    PluginFolder plugins;
    PageList list(plugins.path());
    EXPECT_EQ(list.decodeEntry(0), 0);
    EXPECT_EQ(list.loadPage(1, kRelative), kNoList);
    EXPECT_EQ(list.loadNextForPair(), kNoList);
    EXPECT_EQ(list.loadArchiveEntry("whatever", 0), 0);
}

TEST(Loader, AOnePictureFolderHasNoPair) {
    PluginFolder plugins;
    PageList list(plugins.path());
    TempFolder files;
    writeFile(files / "only.bmp", makeBmp(2, 2, 8));
    ASSERT_EQ(list.open(files / "only.bmp"), 1);
    takeBits(list);
    EXPECT_EQ(list.navigable, 1);
    EXPECT_EQ(list.loadNextForPair(), kNoList);
    ASSERT_EQ(list.loadPage(1, kRelative), kLoaded);
    takeBits(list);
}
