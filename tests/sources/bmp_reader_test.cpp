#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstring>

#include "plugin_folder.h"
#include "sources/page_list.h"
#include "support/bmp_writer.h"

using testing_support::makeBmp;
using testing_support::makeDib;
using testing_support::PluginFolder;
using testing_support::takeBits;
using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

void setPixelOffset(std::string& bmp, std::uint32_t offset) {
    for (int i = 0; i < 4; ++i)
        bmp[10 + i] = static_cast<char>((offset >> (8 * i)) & 0xFF);
}

platform::MemoryHandle blockOf(const std::string& bytes) {
    platform::MemoryHandle block = platform::allocateBlock(bytes.size());
    std::memcpy(platform::lockBlock(block), bytes.data(), bytes.size());
    return block;
}

std::string headerOf(const PageList& list) {
    return std::string(reinterpret_cast<const char*>(platform::lockBlock(list.loadedHeader)),
                       platform::blockSize(list.loadedHeader));
}

} // namespace

class BmpReaderTest : public ::testing::Test {
protected:
    PluginFolder plugins;
    PageList list{plugins.path()};
    TempFolder files;
};

TEST_F(BmpReaderTest, CopiesHeaderAndPixelsOfEveryDepthFromFileAndMemory) {
    for (int bits : {1, 2, 4, 8, 16, 24}) {
        auto dib = makeDib(5, 3, bits, static_cast<unsigned>(bits));
        std::string bmp = makeBmp(5, 3, bits, static_cast<unsigned>(bits));
        writeFile(files / "p.bmp", bmp);
        ASSERT_EQ(list.readBmpFile(files / "p.bmp"), 1) << bits;
        EXPECT_EQ(headerOf(list), dib.header);
        EXPECT_EQ(takeBits(list), dib.bits);

        platform::MemoryHandle block = blockOf(bmp);
        ASSERT_EQ(list.readBmpMemory(block, bmp.size()), 1) << bits;
        EXPECT_EQ(headerOf(list), dib.header);
        EXPECT_EQ(takeBits(list), dib.bits);
        EXPECT_TRUE(platform::isValidBlock(block)); // the source stays the caller's
        platform::freeBlock(block);
    }
}

TEST_F(BmpReaderTest, RefusesWhatIsNoBmpOrLiesAboutItsLayout) {
    std::string good = makeBmp(4, 4, 24);
    std::string before = good, past = good, tooShort = good.substr(0, 12);
    setPixelOffset(before, 13);
    setPixelOffset(past, static_cast<std::uint32_t>(good.size() + 1));
    std::string huge = good;
    setPixelOffset(huge, 0xFFFFFFFFu);
    struct Case {
        std::string bytes;
        const char* text;
    };
    const Case cases[] = {{"PK\x03\x04 zip", kNotBmpText}, {"B", kNotBmpText},
                          {before, kBrokenBmpText},        {past, kBrokenBmpText},
                          {huge, kBrokenBmpText},          {tooShort, kBrokenBmpText}};
    for (const Case& c : cases) {
        writeFile(files / "x.bmp", c.bytes);
        list.errorText.clear();
        EXPECT_EQ(list.readBmpFile(files / "x.bmp"), 0);
        EXPECT_EQ(list.errorText, c.text);
        platform::MemoryHandle block = blockOf(c.bytes);
        list.errorText.clear();
        EXPECT_EQ(list.readBmpMemory(block, c.bytes.size()), 0);
        EXPECT_EQ(list.errorText, c.text);
        platform::freeBlock(block);
    }
}

TEST_F(BmpReaderTest, EdgesOfThePixelOffset) {
    // Pixels starting at the very end: no rows at all, which no picture is.
    std::string noPixels = makeBmp(4, 4, 24);
    noPixels.resize(14 + 40);
    setPixelOffset(noPixels, 14 + 40);
    writeFile(files / "empty.bmp", noPixels);
    EXPECT_EQ(list.readBmpFile(files / "empty.bmp"), 0);
    EXPECT_EQ(list.errorText, kBrokenBmpText);

    // A size claimed past the block is held to the block.
    std::string bmp = makeBmp(2, 2, 8);
    platform::MemoryHandle block = blockOf(bmp);
    ASSERT_EQ(list.readBmpMemory(block, bmp.size() * 100), 1);
    EXPECT_EQ(takeBits(list), makeDib(2, 2, 8).bits);
    EXPECT_EQ(list.readBmpMemory(block, 10), 0);
    platform::freeBlock(block);
    EXPECT_EQ(list.readBmpMemory(nullptr, 100), 0);
}

TEST_F(BmpReaderTest, FoldersMissingFilesAndUnopenableFiles) {
    list.errorText = "unchanged";
    EXPECT_EQ(list.readBmpFile(files.path()), 0);
    EXPECT_EQ(list.readBmpFile(files / "missing.bmp"), 0);
    EXPECT_EQ(list.errorText, "unchanged");

    // With no descriptor left to open, the file cannot be opened.
    writeFile(files / "p.bmp", makeBmp(2, 2, 24));
    rlimit saved{};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    rlimit none = saved;
    none.rlim_cur = 0;
    ::setrlimit(RLIMIT_NOFILE, &none);
    int result = list.readBmpFile(files / "p.bmp");
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list.errorText, kFileHandleText);
}
