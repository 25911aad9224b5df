#include "sources/background_decoder.h"

#include <gtest/gtest.h>
#include <memory>

#include "plugin_folder.h"
#include "support/bmp_writer.h"

using testing_support::PluginFolder;
using testing_support::takeBits;
using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

// Every picture of the books: a 40-byte header and 8 rows of 12 bytes.
constexpr std::size_t kPictureBytes = 40 + 96;

class BackgroundDecoderTest : public ::testing::Test {
protected:
    // A folder of `count` pictures 01.bmp ... with seeds from `seed`, open.
    void openBook(int count, std::uint32_t seed = 1) {
        TempFolder& folder = *books.emplace_back(std::make_unique<TempFolder>());
        for (int n = 1; n <= count; ++n)
            writeFile(folder / ("0" + std::to_string(n) + ".bmp"),
                      testing_support::makeBmp(4, 8, 24, seed + static_cast<std::uint32_t>(n)));
        ASSERT_EQ(list.open(folder / "01.bmp"), 1);
        takeBits(list);
        decoder.setList(list);
    }
    std::string takeAhead(int index) {
        if (!decoder.take(index, list.loadedHeader, list.loadedBits)) return "";
        return takeBits(list);
    }
    std::string decodeHere(int index) {
        return list.decodeEntry(index) ? takeBits(list) : "";
    }

    PluginFolder plugins;
    PageList list{plugins.path()};
    std::vector<std::unique_ptr<TempFolder>> books;
    BackgroundDecoder decoder{plugins.path()};
};

} // namespace

TEST_F(BackgroundDecoderTest, PicturesDecodedAheadAreTheListsOwnAndTakenOnce) {
    openBook(5);
    decoder.request({3, 1, 2}, 6, 1 << 20);
    decoder.waitUntilIdle();
    EXPECT_EQ(decoder.picturesHeld(), 3u);
    for (int index : {1, 2, 3}) {
        const std::string ahead = takeAhead(index);
        EXPECT_FALSE(ahead.empty());
        EXPECT_EQ(ahead, decodeHere(index));
    }
    EXPECT_TRUE(takeAhead(1).empty()); // taken already
    EXPECT_TRUE(takeAhead(4).empty()); // never asked for
    EXPECT_EQ(decoder.picturesHeld(), 0u);
}

TEST(BackgroundDecoderArchive, MembersAreDecodedAheadThroughThePlugins) {
    PluginFolder plugins;
    plugins.install("archive");
    plugins.install("content");
    TempFolder files;
    writeFile(files / "p1", testing_support::tpicFile(3, 2, 24, 1));
    writeFile(files / "p2", testing_support::makeBmp(3, 2, 24, 2));
    writeFile(files / "book.tarc",
              testing_support::testArchive({{"", "01.bmp", files / "p2"}, {"", "02.tpc", files / "p1"}}));
    PageList list(plugins.path());
    ASSERT_EQ(list.open(files / "book.tarc"), 1);
    takeBits(list);
    BackgroundDecoder decoder(plugins.path());
    decoder.setList(list);
    decoder.request({1, 0}, 6, 1 << 20);
    decoder.waitUntilIdle();
    for (int index : {1, 0}) {
        ASSERT_TRUE(decoder.take(index, list.loadedHeader, list.loadedBits)) << index;
        const std::string ahead = takeBits(list);
        ASSERT_EQ(list.decodeEntry(index), 1);
        EXPECT_EQ(ahead, takeBits(list)) << index;
    }
}

TEST_F(BackgroundDecoderTest, AnEntryThatCannotBeDecodedIsLeftToTheList) {
    openBook(3);
    writeFile(*books[0] / "02.bmp", "BM not a picture");
    decoder.request({1, 2}, 6, 1 << 20);
    decoder.waitUntilIdle();
    EXPECT_TRUE(takeAhead(1).empty());
    EXPECT_FALSE(takeAhead(2).empty());
}

TEST_F(BackgroundDecoderTest, PicturesStayWithinTheCountAndTheBytesAndTakingMakesRoom) {
    openBook(6);
    decoder.request({1, 2, 3, 4, 5}, 2, 1 << 20);
    decoder.waitUntilIdle();
    EXPECT_EQ(decoder.picturesHeld(), 2u);
    EXPECT_FALSE(takeAhead(1).empty());
    decoder.waitUntilIdle();
    EXPECT_EQ(decoder.picturesHeld(), 2u);
    EXPECT_EQ(decoder.bytesHeld(), 2 * kPictureBytes);
    // Room for one picture and a half: once the size is known, one.
    decoder.request({4, 5}, 6, kPictureBytes * 3 / 2);
    decoder.waitUntilIdle();
    EXPECT_EQ(decoder.picturesHeld(), 1u);
}

TEST_F(BackgroundDecoderTest, EntriesStillWantedKeepTheirPicturesAndOthersAreFreed) {
    openBook(5);
    decoder.request({1, 2, 3}, 6, 1 << 20);
    decoder.waitUntilIdle();
    const std::string second = decodeHere(2);
    // Kept pictures are not decoded again: their files are gone now.
    writeFile(*books[0] / "02.bmp", "BM not a picture");
    decoder.request({2, 4}, 6, 1 << 20);
    decoder.waitUntilIdle();
    EXPECT_EQ(decoder.picturesHeld(), 2u);
    EXPECT_EQ(takeAhead(2), second);
    EXPECT_TRUE(takeAhead(1).empty());
    EXPECT_FALSE(takeAhead(4).empty());
}

TEST_F(BackgroundDecoderTest, ANewListDropsThePicturesOfTheOldOne) {
    openBook(4, 1);
    const std::string old = decodeHere(1);
    decoder.request({1, 2}, 6, 1 << 20);
    decoder.waitUntilIdle();
    openBook(4, 50); // the same names, other pictures
    EXPECT_EQ(decoder.picturesHeld(), 0u);
    EXPECT_TRUE(takeAhead(1).empty());
    decoder.request({1}, 6, 1 << 20);
    decoder.waitUntilIdle();
    const std::string now = takeAhead(1);
    EXPECT_EQ(now, decodeHere(1));
    EXPECT_NE(now, old);
}

TEST_F(BackgroundDecoderTest, ADecoderStoppedWhileDecodingFreesEverything) {
    openBook(6);
    auto early = std::make_unique<BackgroundDecoder>(plugins.path());
    early->setList(list);
    early->request({0, 1, 2, 3, 4, 5}, 6, 1 << 20);
    early.reset(); // the sanitizers' leak check sees what stays
}

TEST(PluginCallLock, IsSharedByHostsOfTheSameLibraryUnlessItsCallsMayOverlap) {
    PluginFolder plugins;
    plugins.install("content");
    const PageList first(plugins.path()), second(plugins.path());
    ASSERT_EQ(first.host.imagePlugins().size(), 1u);
    const auto& lock = first.host.imagePlugins()[0].callLock;
    ASSERT_NE(lock, nullptr);
    EXPECT_EQ(lock, second.host.imagePlugins()[0].callLock);
}
