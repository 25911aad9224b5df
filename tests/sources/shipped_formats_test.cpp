// Every shipped format opened through the page list and loader, from a folder
// and from inside each archive type, with the plug-ins the viewer ships.
#include <gtest/gtest.h>

#include <cstring>

#include "sample_book/stored_archives.h"
#include "sample_book/archive_writer.h"
#include "sample_book/picture_encoders.h"
#include "sources/page_list.h"
#include "support/temp_folder.h"
#ifdef VOXA_HAVE_AVIF
#include "sample_book/avif_encoder.h"
#endif
#ifdef VOXA_HAVE_JXL
#include "sample_book/jxl_encoder.h"
#endif
#ifdef VOXA_HAVE_HEIF
#include "sample_book/heif_encoder.h"
#endif
#ifdef VOXA_HAVE_TIFF
#include "sample_book/tiff_encoder.h"
#endif
#ifdef VOXA_HAVE_PDF_BOOK
#include "sample_book/pdf_writer.h"
#endif

using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

struct Page {
    std::string name;
    std::string bytes;
    int width, height;
};

std::vector<Page> pagesOfEveryFormat() {
    auto picture = [](int w, int h, unsigned seed) { return encoders::makePattern(w, h, 3, seed); };
    std::vector<std::uint8_t> indices(31 * 17);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<std::uint8_t>(i % 4);
    const std::vector<std::uint8_t> palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    std::vector<Page> pages = {
        {"01.jpg", encoders::encodeJpeg(picture(40, 60, 1)), 40, 60},
        {"02.png", encoders::encodePng(picture(41, 61, 2)), 41, 61},
        {"03.gif", encoders::encodeGif(31, 17, indices, palette), 31, 17},
        {"04.webp", encoders::encodeWebp(picture(42, 62, 4)), 42, 62},
        {"05.bmp", encoders::encodeBmp(picture(43, 63, 5)), 43, 63},
    };
    // The formats whose plug-ins are built when their libraries are found.
#ifdef VOXA_HAVE_AVIF
    pages.push_back({"06.avif", encoders::encodeAvif(picture(44, 64, 6)), 44, 64});
#endif
#ifdef VOXA_HAVE_JXL
    pages.push_back({"07.jxl", encoders::encodeJxl(picture(45, 65, 7)), 45, 65});
#endif
#ifdef VOXA_HAVE_HEIF
    pages.push_back({"08.heic", encoders::encodeHeif(picture(46, 66, 8)), 46, 66});
#endif
#ifdef VOXA_HAVE_TIFF
    encoders::TiffPage tiff;
    tiff.picture = picture(47, 67, 9);
    pages.push_back({"09.tif", encoders::encodeTiff({tiff}), 47, 67});
#endif
    return pages;
}

std::int32_t headerField(const PageList& list, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, platform::lockBlock(list.loadedHeader) + offset, sizeof value);
    return value;
}

// Checks the decoded picture's size and frees its blocks.
void expectLoaded(PageList& list, const Page& page) {
    ASSERT_TRUE(platform::isValidBlock(list.loadedHeader)) << page.name;
    EXPECT_EQ(headerField(list, 4), page.width) << page.name;
    EXPECT_EQ(headerField(list, 8), page.height) << page.name;
    platform::freeBlock(list.loadedHeader);
    platform::freeBlock(list.loadedBits);
    list.loadedHeader = list.loadedBits = nullptr;
}

void expectWholeBook(PageList& list, const std::vector<Page>& pages) {
    ASSERT_EQ(list.pageCount, static_cast<int>(pages.size()));
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(list.entries[i], pages[i].name);
    expectLoaded(list, pages[0]);
    for (std::size_t i = 1; i < pages.size(); ++i) {
        ASSERT_EQ(list.loadPage(1, kRelative), kLoaded) << pages[i].name << ": " << list.errorText;
        expectLoaded(list, pages[i]);
    }
}

encoders::ArchiveMembers membersOf(const std::vector<Page>& pages) {
    encoders::ArchiveMembers members = {{"book/", ""}, {"book/readme.txt", "not a page"}};
    for (const Page& page : pages)
        members.emplace_back("book/" + page.name, page.bytes);
    return members;
}

class ShippedFormatsTest : public ::testing::Test {
protected:
    PageList list{VOXA_PLUGIN_DIR};
    TempFolder files;
    std::vector<Page> pages = pagesOfEveryFormat();
};

} // namespace

TEST_F(ShippedFormatsTest, TheShippedPluginsRegister) {
    EXPECT_EQ(list.host.imagePlugins().size(), 4u + VOXA_OPTIONAL_IMAGE_PLUGINS);
    EXPECT_EQ(list.host.archivePlugins().size(), 1u + VOXA_OPTIONAL_ARCHIVE_PLUGINS);
    for (const char* extension : {".jpg", ".JPEG", ".png", ".gif", ".webp"})
        EXPECT_EQ(list.host.isImageExtension(extension), 1) << extension;
    for (const char* extension : {".zip", ".cbz", ".rar", ".cbr", ".7z", ".lzh", ".tar"})
        EXPECT_EQ(list.host.isArchiveExtension(extension), 1) << extension;
    // Each is called from two threads at once, when pages are decoded ahead.
    for (const auto* plugins : {&list.host.imagePlugins(), &list.host.archivePlugins()})
        for (const PluginRecord& plugin : *plugins)
            EXPECT_EQ(plugin.callLock, nullptr) << plugin.libraryName;
}

TEST_F(ShippedFormatsTest, EveryFormatOpensFromAFolder) {
    for (const Page& page : pages)
        writeFile(files / ("book/" + page.name), page.bytes);
    writeFile(files / "book/readme.txt", "not a page");
    ASSERT_EQ(list.open(files / "book"), 1) << list.errorText;
    EXPECT_EQ(list.archiveMode, 0);
    expectWholeBook(list, pages);
}

TEST_F(ShippedFormatsTest, EveryFormatOpensFromEveryArchiveType) {
    const encoders::ArchiveMembers members = membersOf(pages);
    const std::pair<const char*, std::string> archives[] = {
        {"book.cbz", encoders::writeArchive(encoders::ArchiveFormat::Zip, members)},
        {"book.7z", encoders::writeArchive(encoders::ArchiveFormat::SevenZip, members)},
        {"book.tar", encoders::writeArchive(encoders::ArchiveFormat::Tar, members)},
        {"book.rar", encoders::writeStoredRar4(members)},
        {"book.cbr", encoders::writeStoredRar5(members)},
        {"book.lzh", encoders::writeStoredLzh(members)},
    };
    for (const auto& [name, bytes] : archives) {
        SCOPED_TRACE(name);
        writeFile(files / name, bytes);
        ASSERT_EQ(list.open(files / name), 1) << list.errorText;
        EXPECT_EQ(list.archiveMode, 1);
        EXPECT_EQ(list.navigable, 1);
        expectWholeBook(list, pages);
    }
}

TEST_F(ShippedFormatsTest, AJpegNamedBmpIsShownByContent) {
    writeFile(files / "disguised.bmp", pages[0].bytes);
    ASSERT_EQ(list.open(files / "disguised.bmp"), 1) << list.errorText;
    expectLoaded(list, pages[0]);
}

TEST_F(ShippedFormatsTest, BrokenPicturesAndArchivesAreReportedNotCrashed) {
    std::string cut = pages[0].bytes.substr(0, pages[0].bytes.size() / 3);
    writeFile(files / "cut.jpg", cut);
    EXPECT_EQ(list.open(files / "cut.jpg"), 0);
    // The JPEG plug-in takes the file by its signature, then fails to decode it.
    EXPECT_EQ(list.errorText, kDecodeErrorText);
    std::string zip = encoders::writeArchive(encoders::ArchiveFormat::Zip, membersOf(pages));
    writeFile(files / "cut.zip", zip.substr(0, zip.size() / 2));
    EXPECT_EQ(list.open(files / "cut.zip"), 0);
}

TEST_F(ShippedFormatsTest, ARarPageWhoseDataFailsItsCrcGetsTheLoadingErrorText) {
    // A BMP page with one byte of its pixels changed still reads as a picture,
    // so only the CRC its header records can tell.
    encoders::ArchiveMembers members;
    for (const Page& page : pages) members.emplace_back(page.name, page.bytes);
    const std::string& bmp = pages[4].bytes;
    auto damaged = [&](std::string bytes) {
        bytes[bytes.find(bmp) + bmp.size() - 5] ^= 0x40;
        return bytes;
    };
    using Writer = std::string (*)(const encoders::ArchiveMembers&);
    for (const auto& [name, write] : {std::pair<const char*, Writer>{"book.rar", encoders::writeStoredRar4},
                                      std::pair<const char*, Writer>{"book.cbr", encoders::writeStoredRar5}}) {
        SCOPED_TRACE(name);
        writeFile(files / name, damaged(write(members)));
        ASSERT_EQ(list.open(files / name), 1) << list.errorText;
        expectLoaded(list, pages[0]);
        EXPECT_EQ(list.loadPage(4, kAbsolute), kDecodeFailed);
        EXPECT_EQ(list.errorText, kNotSupportedText);
        // The damaged page first: the archive does not open.
        encoders::ArchiveMembers bmpFirst = members;
        bmpFirst[4].first = "00.bmp"; // the BMP page (later formats may follow it)
        writeFile(files / name, damaged(write(bmpFirst)));
        EXPECT_EQ(list.open(files / name), 0);
        EXPECT_EQ(list.errorText, kArchivePictureBrokenText);
    }
}

#ifdef VOXA_HAVE_TIFF
namespace {

std::string tiffBook(const std::vector<encoders::Picture>& pictures) {
    std::vector<encoders::TiffPage> pages;
    for (const encoders::Picture& picture : pictures) {
        encoders::TiffPage page;
        page.picture = picture;
        page.compression = 5; // LZW
        pages.push_back(page);
    }
    return encoders::encodeTiff(pages);
}

} // namespace

TEST_F(ShippedFormatsTest, AMultiPageTiffOpensAsABookOfItsPages) {
    std::vector<Page> book;
    std::vector<encoders::Picture> pictures;
    for (int i = 0; i < 3; ++i) {
        pictures.push_back(encoders::makePattern(30 + i, 40 + i, 3, unsigned(i)));
        book.push_back({"000" + std::to_string(i + 1) + ".bmp", "", 30 + i, 40 + i});
    }
    writeFile(files / "scans/book.tif", tiffBook(pictures));
    ASSERT_EQ(list.open(files / "scans/book.tif"), 1) << list.errorText;
    EXPECT_EQ(list.archiveMode, 1);
    EXPECT_EQ(list.navigable, 1);
    expectWholeBook(list, book);

    // Inside an archive a TIFF is one picture: its first page.
    writeFile(files / "scans.cbz", encoders::writeArchive(encoders::ArchiveFormat::Zip,
                                                           {{"a.tif", tiffBook(pictures)}, {"b.png", pages[1].bytes}}));
    ASSERT_EQ(list.open(files / "scans.cbz"), 1) << list.errorText;
    ASSERT_EQ(list.pageCount, 2);
    expectLoaded(list, book[0]);
}
#endif

#ifdef VOXA_HAVE_PDF_BOOK
TEST_F(ShippedFormatsTest, APdfOpensAsABookOfScansAndRenderedPages) {
    encoders::PdfPage scanned;
    scanned.jpeg = pages[0].bytes; // 40 x 60, drawn over a 400 x 600 point page
    scanned.width = 400;
    scanned.height = 600;
    encoders::PdfPage drawn;
    drawn.contents = "0 0 1 rg 10 10 100 100 re f";
    writeFile(files / "book.pdf", encoders::writePdf({scanned, drawn, scanned}));
    ASSERT_EQ(list.open(files / "book.pdf"), 1) << list.errorText;
    EXPECT_EQ(list.archiveMode, 1);
    expectWholeBook(list, {{"0001.jpg", "", 40, 60}, {"0002.bmp", "", 2479, 3508}, {"0003.jpg", "", 40, 60}});
}

TEST_F(ShippedFormatsTest, ALockedOrBrokenPdfLeavesTheOpenBookAsItWas) {
    for (const Page& page : pages)
        writeFile(files / ("book/" + page.name), page.bytes);
    ASSERT_EQ(list.open(files / "book"), 1) << list.errorText;
    expectLoaded(list, pages[0]);
    encoders::PdfPage scanned;
    scanned.jpeg = pages[0].bytes;
    writeFile(files / "locked.pdf", encoders::writePdf({scanned}, "secret"));
    writeFile(files / "broken.pdf", "%PDF-1.7\n" + std::string(4000, '#'));
    for (const char* name : {"locked.pdf", "broken.pdf"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(list.open(files / name), 0);
        EXPECT_EQ(list.errorText, kNoPictureInArchiveText);
        EXPECT_EQ(list.archiveMode, 0);
        EXPECT_EQ(list.entries.front(), pages[0].name);
        EXPECT_EQ(list.pageCount, static_cast<int>(pages.size()));
    }
}
#endif
