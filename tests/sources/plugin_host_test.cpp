#include "sources/plugin_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "plugin_folder.h"

using testing_support::PluginFolder;
using testing_support::TestMember;
using testing_support::writeFile;

namespace {

const std::string kTemplateFilter("All Files(*.*)\0*.*\0BMP files(*.bmp)\0*.bmp\0", 42);

bool filterHas(const PluginHost& host, const std::string& description,
               const std::string& patterns) {
    return host.openFilter().find(description + '\0' + patterns + '\0') != std::string::npos;
}

} // namespace

TEST(PluginHost, WithoutPluginsOnlyTheTemplateFilterAndNoExtensions) {
    PluginFolder folder;
    PluginHost host;
    EXPECT_EQ(host.loadPlugins(folder.path()), 0);
    EXPECT_EQ(host.openFilter(), kTemplateFilter + '\0');
    EXPECT_EQ(host.isImageExtension(".jpg"), 0);
    EXPECT_EQ(host.isArchiveExtension(".zip"), 0);
    EXPECT_TRUE(host.informationLines().empty());
}

TEST(PluginHost, RegistersByKindAndBuildsTheFilterInOrder) {
    PluginFolder folder;
    folder.install("content");
    folder.install("archive");
    PluginHost host;
    EXPECT_EQ(host.loadPlugins(folder.path()), 1);
    ASSERT_EQ(host.imagePlugins().size(), 1u);
    ASSERT_EQ(host.archivePlugins().size(), 1u);
    EXPECT_EQ(host.imagePlugins()[0].libraryName, "tp_content.spi");
    EXPECT_EQ(host.imagePlugins()[0].infoText, "content test plug-in");
    EXPECT_EQ(host.openFilter().substr(0, kTemplateFilter.size()), kTemplateFilter);
    EXPECT_TRUE(filterHas(host, "Test pictures", "*.tpc"));
    EXPECT_TRUE(filterHas(host, "Test archives", "*.tarc"));
    EXPECT_EQ(host.openFilter().substr(host.openFilter().size() - 2), std::string(2, '\0'));
    // An archive plug-in's types are in the filter but it decodes no pictures.
    EXPECT_EQ(host.isImageExtension(".tarc"), 0);
    EXPECT_EQ(host.isArchiveExtension(".TARC"), 1);
    EXPECT_EQ(host.isImageExtension(".TPC"), 1);
}

TEST(PluginHost, CountingTheTerminatingZeroLimitsMatchingToTheFirstPattern) {
    PluginFolder folder;
    folder.install("zero");
    folder.install("nozero");
    PluginHost host;
    host.loadPlugins(folder.path());
    ASSERT_EQ(host.imagePlugins().size(), 2u);
    // Counting the zero: the scan stops after the first pattern list.
    EXPECT_EQ(host.isImageExtension(".tz1"), 1);
    EXPECT_EQ(host.isImageExtension(".tz2"), 1);
    EXPECT_EQ(host.isImageExtension(".tz3"), 0);
    // Not counting it: the second list runs into the last token of the first.
    EXPECT_EQ(host.isImageExtension(".tn1"), 1);
    EXPECT_EQ(host.isImageExtension(".tn2"), 0);
    EXPECT_EQ(host.isImageExtension(".tn3"), 0);
    EXPECT_EQ(host.isImageExtension(".tn2.tn3"), 1);
    // The filter is the same either way: every text is closed by one zero.
    EXPECT_TRUE(filterHas(host, "Zero one", "*.tz1;*.tz2"));
    EXPECT_TRUE(filterHas(host, "Zero two", "*.tz3"));
    EXPECT_TRUE(filterHas(host, "No zero one", "*.tn1;*.tn2"));
    EXPECT_TRUE(filterHas(host, "No zero two", "*.tn3"));
}

TEST(PluginHost, TokensSkipStarsAndSpaces) {
    EXPECT_TRUE(extensionTextLists(std::string("* .jpg ; *.JPEG\0*.png", 22), ".jpeg"));
    EXPECT_FALSE(extensionTextLists(std::string("*.jpg\0*.png", 11), ".png"));
    EXPECT_FALSE(extensionTextLists(std::string(";;\0", 3), ""));
}

TEST(PluginHost, SkipsWhatCannotBeCalledSafely) {
    PluginFolder folder;
    folder.install("noinfo");
    folder.install("nois");
    folder.install("otherkind");
    writeFile(folder / "broken.spi", "not a library");
    testing_support::makeFolder(folder / "folder.spi");
    folder.install("content", "content.so"); // not named *.spi
    PluginHost host;
    EXPECT_EQ(host.loadPlugins(folder.path()), 1);
    EXPECT_TRUE(host.imagePlugins().empty());
    EXPECT_TRUE(host.archivePlugins().empty());
    EXPECT_EQ(host.openFilter(), kTemplateFilter + '\0');
}

TEST(PluginHost, HostileTextsAreCutWithoutOverruns) {
    PluginFolder folder;
    folder.install("hostile");
    folder.install("content");
    PluginHost host;
    host.loadPlugins(folder.path());
    ASSERT_EQ(host.imagePlugins().size(), 2u);
    for (const PluginRecord& plugin : host.imagePlugins()) {
        EXPECT_LE(plugin.extensionText.size(), kExtensionTextLimit);
        EXPECT_EQ(plugin.extensionText.back(), '\0');
        EXPECT_LE(plugin.infoText.size(), kPluginTextLimit);
    }
    const std::string& filter = host.openFilter();
    EXPECT_LE(filter.size(), kOpenFilterLimit);
    EXPECT_EQ(filter.substr(filter.size() - 2), std::string(2, '\0'));
    // A plug-in whose type pairs never end is asked no longer than the
    // extension text can take something from it.
    int (*calls)() = nullptr;
    for (const PluginRecord& plugin : host.imagePlugins())
        if (void* found = platform::findFunction(plugin.library, "TestInfoCalls"))
            calls = reinterpret_cast<int (*)()>(found);
    ASSERT_NE(calls, nullptr);
    EXPECT_LE(calls(), 2 + 2 * static_cast<int>(kExtensionTextLimit));
}

TEST(PluginHost, TablesStopAtTheirLimits) {
    PluginFolder folder;
    for (int i = 0; i < kMaxImagePlugins + 4; ++i)
        folder.install("content", "i" + std::to_string(i) + ".spi");
    for (int i = 0; i < kMaxArchivePlugins + 4; ++i)
        folder.install("archive", "a" + std::to_string(i) + ".spi");
    PluginHost host;
    host.loadPlugins(folder.path());
    EXPECT_EQ(host.imagePlugins().size(), static_cast<std::size_t>(kMaxImagePlugins));
    EXPECT_EQ(host.archivePlugins().size(), static_cast<std::size_t>(kMaxArchivePlugins));
    EXPECT_LE(host.openFilter().size(), kOpenFilterLimit);
}

TEST(PluginHost, InformationLinesPutArchivePluginsFirst) {
    PluginFolder folder;
    folder.install("content");
    folder.install("archive");
    folder.install("zero");
    PluginHost host;
    host.loadPlugins(folder.path());
    std::vector<std::string> expected = {"test archives"};
    for (const PluginRecord& plugin : host.imagePlugins())
        expected.push_back(plugin.infoText);
    EXPECT_EQ(host.informationLines(), expected);
}

TEST(PluginHost, ContentSearchesFromFileAndMemory) {
    PluginFolder folder;
    folder.install("nozero");
    folder.install("content");
    PluginHost host;
    host.loadPlugins(folder.path());
    writeFile(folder / "pic.dat", testing_support::tpicFile(3, 2, 24, 1));
    writeFile(folder / "other.dat", "nothing we know");
    EXPECT_EQ(host.findImagePluginForFile(folder / "pic.dat"), 1);
    EXPECT_EQ(host.findImagePluginForFile(folder / "other.dat"), 0);
    EXPECT_EQ(host.findImagePluginForFile(folder / "missing.dat"), 0);
    EXPECT_EQ(host.findImagePluginForFile(folder.path()), 0);

    // A short image is still readable for the whole sniffing length.
    platform::MemoryHandle block = platform::allocateBlock(6);
    std::memcpy(platform::lockBlock(block), "TPICBM", 6);
    EXPECT_EQ(host.findImagePluginForMemory(block), 1);
    std::memcpy(platform::lockBlock(block), "XPICBM", 6);
    EXPECT_EQ(host.findImagePluginForMemory(block), 0);
    platform::freeBlock(block);
}

TEST(PluginHost, DecodeByExtensionAsksOnlyListingPlugins) {
    PluginFolder folder;
    folder.install("content");
    PluginHost host;
    host.loadPlugins(folder.path());
    writeFile(folder / "a.tpc", testing_support::tpicFile(4, 4, 8, 2));
    writeFile(folder / "b.tpc", "garbage");
    writeFile(folder / "c.xyz", testing_support::tpicFile(4, 4, 8, 2));
    platform::MemoryHandle info = nullptr, bits = nullptr;
    ASSERT_EQ(host.decodeByExtension(folder / "a.tpc", ".tpc", &info, &bits), 1);
    EXPECT_EQ(platform::blockSize(info), 40u + 1024u);
    EXPECT_EQ(platform::blockSize(bits), 16u);
    platform::freeBlock(info);
    platform::freeBlock(bits);
    EXPECT_EQ(host.decodeByExtension(folder / "b.tpc", ".tpc", &info, &bits), 0);
    EXPECT_EQ(host.decodeByExtension(folder / "c.xyz", ".xyz", &info, &bits), 0);
}

TEST(PluginHost, SuccessWithoutBlocksIsAFailure) {
    PluginFolder folder;
    folder.install("liar");
    PluginHost host;
    host.loadPlugins(folder.path());
    writeFile(folder / "a.tpl", testing_support::tpicFile(2, 2, 24, 1));
    platform::MemoryHandle info = nullptr, bits = nullptr;
    EXPECT_EQ(host.decodeByExtension(folder / "a.tpl", ".tpl", &info, &bits), 0);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(bits, nullptr);
}

TEST(PluginHost, ListingAndExtractionUseTheReportedPositions) {
    PluginFolder folder;
    folder.install("archive");
    PluginHost host;
    host.loadPlugins(folder.path());
    writeFile(folder / "one", "first");
    writeFile(folder / "two", "second!");
    writeFile(folder / "book.tarc", testing_support::testArchive({{"a/", "x.bmp", folder / "one"},
                                                                  {"b/", "x.bmp", folder / "two"},
                                                                  {"", "big.bmp", "", 1 << 20}}));
    ASSERT_EQ(host.findArchivePlugin(folder / "book.tarc"), 1);
    std::vector<ArchiveMember> members;
    ASSERT_EQ(host.listArchive(folder / "book.tarc", members, 4000), 1);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[1].name, "x.bmp");
    EXPECT_EQ(members[1].position, 1001);
    EXPECT_EQ(members[1].size, 7);
    EXPECT_EQ(members[2].size, 1 << 20);
    ASSERT_EQ(host.listArchive(folder / "book.tarc", members, 2), 1);
    EXPECT_EQ(members.size(), 2u);

    platform::MemoryHandle block = nullptr;
    ASSERT_EQ(host.extractEntry(folder / "book.tarc", 1001, &block), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(platform::lockBlock(block)), 7), "second!");
    platform::freeBlock(block);
    EXPECT_EQ(host.extractEntry(folder / "book.tarc", 1, &block), 0);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(host.listArchive(folder / "missing.tarc", members, 4000), 0);
    EXPECT_TRUE(members.empty());
}

TEST(PluginHost, OnlyLhasadMayReportFailureWithAValidListing) {
    PluginFolder folder;
    folder.install("arcfail");
    folder.install("arcfail", "LHASAD.SPI");
    PluginHost host;
    host.loadPlugins(folder.path());
    ASSERT_EQ(host.archivePlugins().size(), 2u);
    writeFile(folder / "book.tarf", testing_support::testArchive({{"", "p.bmp", ""}}));
    std::vector<ArchiveMember> members;
    for (std::size_t i = 0; i < 2; ++i) {
        host.selectedArchive = static_cast<int>(i);
        const bool isLhasad = host.archivePlugins()[i].libraryName == "LHASAD.SPI";
        EXPECT_EQ(host.listArchive(folder / "book.tarf", members, 4000), isLhasad ? 1 : 0);
        EXPECT_EQ(members.size(), isLhasad ? 1u : 0u);
    }
}
