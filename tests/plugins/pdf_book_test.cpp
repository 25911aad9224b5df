// pdf_book_test.cpp - pdf_book.spi through its exports, its page renderer and
// its recognition of scanned pages through the library itself.
#include <gtest/gtest.h>

#include <cstring>

#include "pdf/pdf_book.h"
#include "pdf/scanned_page.h"
#include "plugins/plugin_fixture.h"
#include "sample_book/pdf_writer.h"

using namespace plugin_testing;
using encoders::PdfPage;

namespace {

bool parses(const std::string& contents, ImageDraw* out = nullptr) {
    ImageDraw draw;
    bool ok = parseSingleImageDraw(contents.data(), contents.size(), draw);
    if (out) *out = draw;
    return ok;
}

PdfPage scan(const std::string& jpeg, double width = 595, double height = 842) {
    PdfPage page;
    page.width = width;
    page.height = height;
    page.jpeg = jpeg;
    return page;
}

PdfPage drawing(const std::string& contents, double width = 595, double height = 842) {
    PdfPage page;
    page.width = width;
    page.height = height;
    page.contents = contents;
    return page;
}

struct PdfBookPlugin : ::testing::Test {
    LoadedPlugin book{"pdf_book"};
    testing_support::TempFolder folder;

    std::string save(const std::string& bytes) {
        std::string path = folder / "book.pdf";
        testing_support::writeFile(path, bytes);
        return path;
    }
};

// The library itself, for sizes and time limits the plug-in does not choose.
std::string extractWith(const std::string& pdf, long position, const PdfBookOptions& options, int& result) {
    PdfSource source;
    source.data = reinterpret_cast<const unsigned char*>(pdf.data());
    source.size = pdf.size();
    SpiHandle block = nullptr;
    result = extractPdfPage(source, position, options, &block);
    return bytesIn(result, block);
}

} // namespace

TEST(ScannedPage, TheDrawsOfScannersAreRecognised) {
    ImageDraw draw;
    ASSERT_TRUE(parses("q 595 0 0 842 0 0 cm /Im0 Do Q", &draw));
    EXPECT_STREQ(draw.name, "Im0");
    EXPECT_EQ(draw.matrix.a, 595);
    EXPECT_EQ(draw.matrix.d, 842);
    EXPECT_TRUE(parses("% scanned\nq\r\n595.276 0 0 841.89 0 0 cm\n/X1 Do\nQ\n"));
    EXPECT_TRUE(parses("612 0 0 792 0 0 cm /Image7 Do"));
    // Nested matrices concatenate: the inner one first, then the outer.
    ASSERT_TRUE(parses("q 1 0 0 1 10 20 cm q 0.5 0 0 2 0 0 cm 100 0 0 200 0 0 cm /I Do Q Q", &draw));
    EXPECT_EQ(draw.matrix.a, 50);
    EXPECT_EQ(draw.matrix.d, 400);
    EXPECT_EQ(draw.matrix.e, 10);
    EXPECT_EQ(draw.matrix.f, 20);
    // What a Q restores is what the Do draws with.
    ASSERT_TRUE(parses("q 2 0 0 2 0 0 cm Q 300 0 0 400 5 6 cm /I Do", &draw));
    EXPECT_EQ(draw.matrix.a, 300);
}

TEST(ScannedPage, AnythingMoreIsNoBareImageDraw) {
    for (const char* contents :
         {"q 595 0 0 842 0 0 cm /Im0 Do /Im1 Do Q", "q 595 0 0 842 0 0 cm /Im0 Do Q BT /F1 12 Tf (page 1) Tj ET",
          "0 0 595 842 re f", "q 595 0 0 842 0 0 cm /Im0 Do", "Q q 595 0 0 842 0 0 cm /Im0 Do Q",
          "q 595 0 0 842 0 cm /Im0 Do Q", "q 595 0 0 842 0 0 0 cm /Im0 Do Q", "q 595 0 0 842 0 0 cm Do Q",
          "q /Im0 /Im1 Do Q", "/Im0 Do 2 0 0 2 0 0 cm", "q 595 0 0 842 0 0 cm /Im0 Do Q Q", "",
          "q 1e999 0 0 842 0 0 cm /Im0 Do Q", "q 5-9 0 0 842 0 0 cm /Im0 Do Q", "q [595] 0 0 842 0 0 cm /Im0 Do Q"})
        EXPECT_FALSE(parses(contents)) << contents;
    EXPECT_FALSE(parses("q " + std::string(40, '1') + " 0 0 842 0 0 cm /Im0 Do Q"));
    EXPECT_FALSE(parses("q 595 0 0 842 0 0 cm /" + std::string(200, 'I') + " Do Q"));
    EXPECT_FALSE(parses(std::string(17, 'q') + " 1 0 0 1 0 0 cm /I Do " + std::string(17, 'Q')));
}

TEST(ScannedPage, OnlyAnUprightImageFillingThePageStandsForIt) {
    const PdfBox a4{0, 0, 595, 842};
    EXPECT_TRUE(fillsBoxUpright({595, 0, 0, 842, 0, 0}, a4, 2480, 3508));
    EXPECT_TRUE(fillsBoxUpright({590, 0, 0, 838, 2, 3}, a4, 2480, 3508)); // within 1%
    EXPECT_FALSE(fillsBoxUpright({580, 0, 0, 842, 0, 0}, a4, 2480, 3508)); // a margin shows
    EXPECT_FALSE(fillsBoxUpright({595, 0, 0, 842, 15, 0}, a4, 2480, 3508));
    EXPECT_FALSE(fillsBoxUpright({595, 0, 0, -842, 0, 842}, a4, 2480, 3508)); // upside down
    EXPECT_FALSE(fillsBoxUpright({-595, 0, 0, 842, 595, 0}, a4, 2480, 3508)); // mirrored
    EXPECT_FALSE(fillsBoxUpright({0, 842, -595, 0, 595, 0}, a4, 2480, 3508)); // turned
    EXPECT_FALSE(fillsBoxUpright({595, 0, 0, 842, 0, 0}, a4, 2480, 2480)); // pixels of another shape
    EXPECT_TRUE(fillsBoxUpright({595, 0, 0, 842, 100, 50}, {100, 50, 695, 892}, 595, 842));
}

TEST_F(PdfBookPlugin, DescribesItselfAndTakesPdfByContent) {
    EXPECT_EQ(book.info(0), "00AM");
    EXPECT_EQ(book.info(2), "*.pdf");
    EXPECT_EQ(book.info(3), "PDF books");
    std::string pdf = encoders::writePdf({drawing("0 0 10 10 re f")});
    EXPECT_EQ(book.supportsFile(folder, pdf), 1);
    EXPECT_NE(book.supportsMemory(pdf), 0);
    EXPECT_EQ(book.supportsFile(folder, std::string(1000, ' ') + pdf), 1); // readers allow junk before it
    EXPECT_EQ(book.supportsFile(folder, std::string(1100, ' ') + pdf), 0);
    EXPECT_EQ(book.supportsMemory(encoders::encodeJpeg(encoders::makePattern(8, 8, 3))), 0);
}

TEST_F(PdfBookPlugin, ScansAreHandedOutAsTheirJpegAndOtherPagesAsRenderedBmps) {
    const std::string portrait = encoders::encodeJpeg(encoders::makePattern(248, 351, 3, 1), 80);
    const std::string landscape = encoders::encodeJpeg(encoders::makePattern(351, 248, 3, 2), 80);
    // A red square of 100 x 100 points whose top-left corner sits at (100, 100) from the page's top-left.
    const std::string path = save(encoders::writePdf(
        {scan(portrait), drawing("1 0 0 rg 100 642 100 100 re f"), scan(landscape, 842, 595)}));
    Listed listed = book.listFile(path);
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT);
    ASSERT_EQ(listed.members.size(), 3u);
    EXPECT_STREQ(listed.members[0].filename, "0001.jpg");
    EXPECT_STREQ(listed.members[1].filename, "0002.bmp");
    EXPECT_STREQ(listed.members[2].filename, "0003.jpg");

    int result = -1;
    std::string first = book.extract(path, long(listed.members[0].position), result);
    EXPECT_TRUE(first == portrait);
    EXPECT_EQ(listed.members[0].filesize, portrait.size());
    EXPECT_TRUE(book.extract(path, long(listed.members[2].position), result) == landscape);

    std::string rendered = book.extract(path, long(listed.members[1].position), result);
    ASSERT_EQ(result, SPI_ALL_RIGHT);
    EXPECT_EQ(listed.members[1].filesize, rendered.size());
    Decoded page = decodedBmp(rendered);
    ASSERT_EQ(page.result, SPI_ALL_RIGHT);
    EXPECT_EQ(page.height, 3508);
    EXPECT_EQ(page.width, 2479); // 595 / 842 of 3508, rounded
    EXPECT_EQ(page.bitCount, 24);
    const double scale = 3508.0 / 842;
    EXPECT_EQ(page.pixel(int(150 * scale), int(150 * scale)), (std::array<std::uint8_t, 3>{0, 0, 255}));
    EXPECT_EQ(page.pixel(int(50 * scale), int(150 * scale)), (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(page.pixel(int(150 * scale), int(250 * scale)), (std::array<std::uint8_t, 3>{255, 255, 255}));

    book.extract(path, 3, result);
    EXPECT_NE(result, SPI_ALL_RIGHT);
    book.extract(path, -1, result);
    EXPECT_NE(result, SPI_ALL_RIGHT);
}

TEST_F(PdfBookPlugin, AJpegThatWouldNotShowAsThePageDoesIsRendered) {
    const std::string jpeg = encoders::encodeJpeg(encoders::makePattern(248, 351, 3), 80);
    PdfPage turned = scan(jpeg);
    turned.rotate = 90;
    PdfPage upsideDown = scan(jpeg);
    upsideDown.rotate = 180;
    PdfPage half = scan(jpeg);
    half.contents = "q 297 0 0 421 0 0 cm /Im0 Do Q";
    PdfPage flipped = scan(jpeg);
    flipped.contents = "q 595 0 0 -842 0 842 cm /Im0 Do Q";
    PdfPage square = scan(encoders::encodeJpeg(encoders::makePattern(100, 100, 3), 80));
    PdfPage withText = scan(jpeg);
    withText.contents = "q 595 0 0 842 0 0 cm /Im0 Do Q 0 0 1 rg 10 10 50 50 re f";
    const std::string path = save(encoders::writePdf({turned, half, flipped, square, withText, upsideDown}));
    Listed listed = book.listFile(path);
    ASSERT_EQ(listed.result, SPI_ALL_RIGHT);
    ASSERT_EQ(listed.members.size(), 6u);
    for (const SpiFileInfo& member : listed.members) {
        EXPECT_STREQ(member.filename + 4, ".bmp") << member.filename;
    }
    int result = -1;
    Decoded sideways = decodedBmp(book.extract(path, 0, result));
    EXPECT_EQ(sideways.height, 3508);
    EXPECT_EQ(sideways.width, 4964); // 842 / 595 of 3508, rounded
}

TEST_F(PdfBookPlugin, PasswordProtectedAndBrokenFilesFailCleanly) {
    const std::string jpeg = encoders::encodeJpeg(encoders::makePattern(60, 85, 3), 80);
    const std::string pdf = encoders::writePdf({scan(jpeg), drawing("0 0 1 rg 0 0 100 100 re f")});
    EXPECT_EQ(book.listFile(save(encoders::writePdf({scan(jpeg)}, "secret"))).result, SPI_NOT_SUPPORT);
    EXPECT_NE(book.listFile(save("%PDF-1.7\nnothing else")).result, SPI_ALL_RIGHT);
    // Every cut of a good file lists or fails cleanly, and so does each page.
    PdfBookOptions small;
    small.pageHeight = 64;
    for (size_t cut = 0; cut < pdf.size(); cut += 53) {
        std::string part = pdf.substr(0, cut);
        PdfSource source;
        source.data = reinterpret_cast<const unsigned char*>(part.data());
        source.size = part.size();
        SpiHandle block = nullptr;
        int result = listPdfBook(source, small, &block);
        Listed listed = listingIn(result, block);
        for (const SpiFileInfo& member : listed.members) {
            std::string bytes = extractWith(part, long(member.position), small, result);
            if (result == SPI_ALL_RIGHT) {
                EXPECT_EQ(bytes.size(), member.filesize) << cut;
            }
        }
    }
}

TEST(PdfBookRender, APageOfPixelsAtItsOwnSizeIsTheSameBmp) {
    encoders::Picture picture = encoders::makePattern(48, 64, 3, 6);
    PdfPage page;
    page.width = 48;
    page.height = 64;
    page.picture = picture;
    PdfBookOptions options;
    options.pageHeight = 64;
    int result = -1;
    Decoded d = decodedBmp(extractWith(encoders::writePdf({page}), 0, options, result));
    ASSERT_EQ(result, SPI_ALL_RIGHT);
    expectSameAsBmp(d, picture);
}

TEST(PdfBookRender, ARenderThatRunsPastItsLimitIsAbandoned) {
    std::string fills;
    for (int i = 0; i < 200000; ++i) fills += "0 0 595 842 re f\n";
    PdfBookOptions options;
    options.renderLimit = std::chrono::milliseconds(100);
    int result = -1;
    extractWith(encoders::writePdf({drawing(fills)}), 0, options, result);
    EXPECT_EQ(result, SPI_OTHER_ERROR);
}
