#include "platform/drawing.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <cstring>

#include "platform/ui_fixture.h"
#include "platform/window_host.h"
#include "support/bmp_writer.h"

using namespace platform;
using testing_support::makeDib;

namespace {

// A white canvas that the drawing calls paint into.
struct Canvas {
    QImage image;
    QPainter painter;
    PaintContext context{&painter, QRect()};
    Canvas(int width, int height) : image(width, height, QImage::Format_RGB32) {
        image.fill(Qt::white);
        painter.begin(&image);
    }
    QRgb at(int x, int y) {
        painter.end();
        QRgb pixel = image.pixel(x, y) & 0xffffff;
        painter.begin(&image);
        return pixel;
    }
};

// makeDib's palette: entry i is blue i, green 255 - i, red i / 2.
QRgb paletteColour(int i) {
    return qRgb(i / 2, 255 - i, i) & 0xffffff;
}

// Sets the pixel in row y from the top (the rows are stored bottom first).
void setIndex(testing_support::Dib& dib, int width, int height, int bitCount, int x, int y,
              unsigned value) {
    std::size_t stride = ((std::size_t(width) * bitCount + 31) >> 3) & ~std::size_t(3);
    unsigned char* row =
        reinterpret_cast<unsigned char*>(dib.bits.data()) + (height - 1 - y) * stride;
    if (bitCount >= 8) {
        for (int b = 0; b < bitCount / 8; ++b)
            row[x * bitCount / 8 + b] = (value >> (8 * b)) & 0xff;
        return;
    }
    int bit = x * bitCount;
    int shift = 8 - bitCount - bit % 8;
    unsigned mask = ((1u << bitCount) - 1) << shift;
    row[bit / 8] = static_cast<unsigned char>((row[bit / 8] & ~mask) | (value << shift));
}

int draw(Canvas& canvas, const testing_support::Dib& dib, Rect destination, Rect source) {
    return drawDibStretched(
        &canvas.context, reinterpret_cast<const unsigned char*>(dib.header.data()),
        dib.header.size(), reinterpret_cast<const unsigned char*>(dib.bits.data()), dib.bits.size(),
        destination, source);
}

} // namespace

TEST(DrawDibStretched, EveryPaletteDepthDrawsItsEntriesTopRowFirst) {
    for (int bitCount : {1, 2, 4, 8}) {
        SCOPED_TRACE(bitCount);
        const int width = 9, height = 3; // odd widths leave a partly used last byte
        testing_support::Dib dib = makeDib(width, height, bitCount);
        unsigned top = (1u << bitCount) - 1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                setIndex(dib, width, height, bitCount, x, y, (x + y) & top);
        Canvas canvas(width, height);
        ASSERT_EQ(draw(canvas, dib, rectAt(0, 0, width, height), rectAt(0, 0, width, height)), 1);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(canvas.at(x, y), paletteColour((x + y) & top)) << x << "," << y;
    }
}

TEST(DrawDibStretched, SixteenAndTwentyFourBitPixelsKeepTheirChannels) {
    testing_support::Dib high = makeDib(2, 2, 16);
    setIndex(high, 2, 2, 16, 0, 0, 0x7c00); // red 31
    setIndex(high, 2, 2, 16, 1, 0, 0x03e0); // green 31
    setIndex(high, 2, 2, 16, 0, 1, 0x001f); // blue 31
    setIndex(high, 2, 2, 16, 1, 1, (8 << 10) | (16 << 5) | 1);
    Canvas canvas(2, 2);
    ASSERT_EQ(draw(canvas, high, rectAt(0, 0, 2, 2), rectAt(0, 0, 2, 2)), 1);
    EXPECT_EQ(canvas.at(0, 0), qRgb(248, 0, 0) & 0xffffff);
    EXPECT_EQ(canvas.at(1, 0), qRgb(0, 248, 0) & 0xffffff);
    EXPECT_EQ(canvas.at(0, 1), qRgb(0, 0, 248) & 0xffffff);
    EXPECT_EQ(canvas.at(1, 1), qRgb(64, 128, 8) & 0xffffff);

    testing_support::Dib full = makeDib(3, 2, 24);
    setIndex(full, 3, 2, 24, 2, 0, 0x102030); // bytes blue 0x30, green 0x20, red 0x10
    setIndex(full, 3, 2, 24, 0, 1, 0xff0000);
    Canvas wide(3, 2);
    ASSERT_EQ(draw(wide, full, rectAt(0, 0, 3, 2), rectAt(0, 0, 3, 2)), 1);
    EXPECT_EQ(wide.at(2, 0), qRgb(0x10, 0x20, 0x30) & 0xffffff);
    EXPECT_EQ(wide.at(0, 1), qRgb(0xff, 0, 0) & 0xffffff);
}

TEST(DrawDibStretched, StretchingSmoothsAndTheSourcePartIsCutToThePicture) {
    testing_support::Dib dib = makeDib(2, 1, 24);
    setIndex(dib, 2, 1, 24, 0, 0, 0x000000);
    setIndex(dib, 2, 1, 24, 1, 0, 0xffffff);
    Canvas canvas(40, 10);
    ASSERT_EQ(draw(canvas, dib, rectAt(0, 0, 40, 10), rectAt(0, 0, 2, 1)), 1);
    EXPECT_EQ(canvas.at(0, 5), 0u);
    EXPECT_EQ(canvas.at(39, 5), 0xffffffu);
    int middle = qRed(canvas.at(20, 5));
    EXPECT_GT(middle, 40); // a blend, not a hard edge
    EXPECT_LT(middle, 215);

    // Only the right pixel, from a source that overhangs the picture.
    Canvas part(4, 4);
    ASSERT_EQ(draw(part, dib, rectAt(0, 0, 4, 4), Rect{1, -5, 9, 9}), 1);
    EXPECT_EQ(part.at(0, 0), 0xffffffu);
    EXPECT_EQ(part.at(3, 3), 0xffffffu);
}

TEST(DrawDibStretched, AFarZoomedPictureDrawsOnlyWhatTheCanvasShows) {
    // 100000 x 100000 destination pixels would be 40 GB as one image.
    testing_support::Dib dib = makeDib(2, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            setIndex(dib, 2, 2, 24, x, y, x ? 0x0000ff : 0xff0000);
    Canvas left(10, 10), middle(10, 10);
    ASSERT_EQ(draw(left, dib, Rect{-10, -50000, 99990, 50000}, rectAt(0, 0, 2, 2)), 1);
    EXPECT_EQ(left.at(0, 5), 0xff0000u);
    EXPECT_EQ(left.at(9, 5), 0xff0000u);
    // At the seam of the two pixels the colours blend.
    ASSERT_EQ(draw(middle, dib, Rect{-49995, -50000, 50005, 50000}, rectAt(0, 0, 2, 2)), 1);
    EXPECT_GT(qRed(middle.at(5, 5)), 64);
    EXPECT_GT(qBlue(middle.at(5, 5)), 64);
}

// Only the source under the painted area is converted; what it draws there
// is what drawing the whole picture draws.
TEST(DrawDibStretched, APaintedAreaGetsThePixelsOfTheWholeDrawing) {
    testing_support::Dib dib = makeDib(23, 17, 8);
    for (const Rect destination : {rectAt(-7, 3, 69, 51), rectAt(0, 0, 23, 17)}) {
        Canvas whole(40, 40), area(40, 40);
        ASSERT_EQ(draw(whole, dib, destination, rectAt(0, 0, 23, 17)), 1);
        area.context.area = QRect(11, 9, 13, 7);
        ASSERT_EQ(draw(area, dib, destination, rectAt(0, 0, 23, 17)), 1);
        for (int y = 9; y < 16; ++y)
            for (int x = 11; x < 24; ++x) ASSERT_EQ(area.at(x, y), whole.at(x, y)) << x << "," << y;
    }
}

TEST(DibImage, PaletteIndexesPastTheStoredEntriesDrawBlack) {
    testing_support::Dib dib = makeDib(2, 1, 8);
    dib.header[32] = 2; // two colours used, two stored
    dib.header.resize(40 + 8);
    setIndex(dib, 2, 1, 8, 0, 0, 1);
    setIndex(dib, 2, 1, 8, 1, 0, 200);
    Canvas canvas(2, 1);
    ASSERT_EQ(draw(canvas, dib, rectAt(0, 0, 2, 1), rectAt(0, 0, 2, 1)), 1);
    EXPECT_EQ(canvas.at(0, 0), paletteColour(1));
    EXPECT_EQ(canvas.at(1, 0), 0u);
}

TEST(DrawDibStretched, RefusesDibsThatDoNotFitTheirBytes) {
    testing_support::Dib dib = makeDib(8, 8, 8);
    Canvas canvas(8, 8);
    testing_support::Dib shortBits = dib;
    shortBits.bits.resize(dib.bits.size() - 1);
    EXPECT_EQ(draw(canvas, shortBits, rectAt(0, 0, 8, 8), rectAt(0, 0, 8, 8)), 0);
    testing_support::Dib shortPalette = dib;
    shortPalette.header.resize(40 + 4 * 100);
    EXPECT_EQ(draw(canvas, shortPalette, rectAt(0, 0, 8, 8), rectAt(0, 0, 8, 8)), 0);
    testing_support::Dib badDepth = dib;
    badDepth.header[14] = 7;
    EXPECT_EQ(draw(canvas, badDepth, rectAt(0, 0, 8, 8), rectAt(0, 0, 8, 8)), 0);
    testing_support::Dib huge = dib;
    huge.header[7] = 0x7f; // width near 2^31
    EXPECT_EQ(draw(canvas, huge, rectAt(0, 0, 8, 8), rectAt(0, 0, 8, 8)), 0);
    EXPECT_EQ(canvas.at(4, 4), 0xffffffu); // nothing was drawn
}

TEST(BlitSurface, CopiesBottomUpRowsUnscaledAtThePoint) {
    const int width = 3, height = 2, stride = 12; // 9 bytes of pixels, 3 of padding
    std::vector<unsigned char> pixels(stride * height, 0);
    // Bottom row first: the top row's first pixel is at the second stored row.
    unsigned char* topRow = pixels.data() + stride;
    topRow[0] = 0x30, topRow[1] = 0x20, topRow[2] = 0x10;
    pixels[6] = 0xff; // bottom row, third pixel: blue
    Canvas canvas(6, 4);
    ASSERT_EQ(
        blitSurface(&canvas.context, 2, 1, pixels.data(), width, height, stride, pixels.size()), 1);
    EXPECT_EQ(canvas.at(2, 1), qRgb(0x10, 0x20, 0x30) & 0xffffff);
    EXPECT_EQ(canvas.at(4, 2), qRgb(0, 0, 0xff) & 0xffffff);
    EXPECT_EQ(canvas.at(1, 1), 0xffffffu);
    EXPECT_EQ(
        blitSurface(&canvas.context, 0, 0, pixels.data(), width, height, stride, pixels.size() - 1),
        0);
    EXPECT_EQ(blitSurface(&canvas.context, 0, 0, pixels.data(), width, height, 8, pixels.size()),
              0);
}

TEST(BlitSurface, EveryPixelOfARowKeepsItsColour) {
    // Rows are converted sixteen pixels at a time where the processor can,
    // then four at a time, then one by one; the image painted from is kept
    // between paints of the same size and made anew for another.
    for (const int width : {39, 7}) {
        const int height = 2, stride = (width * 3 + 3) / 4 * 4;
        std::vector<unsigned char> pixels(std::size_t(stride) * height, 0);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = static_cast<unsigned char>(11 * i + 5);
        Canvas canvas(40, 2);
        ASSERT_EQ(
            blitSurface(&canvas.context, 0, 0, pixels.data(), width, height, stride, pixels.size()),
            1);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const unsigned char* p = pixels.data() + (height - 1 - y) * stride + 3 * x;
                EXPECT_EQ(canvas.at(x, y), qRgb(p[2], p[1], p[0]) & 0xffffff) << x << " " << y;
            }
    }
}

// ---- invalidation, seen through the window's own backing store -----------

namespace {

// The pixel under (x, y) of the window being painted, before the procedure paints.
QRgb pixelBeforePaint(const MessageParams& params, int x, int y) {
    QPainter* painter = params.paint->painter;
    QPaintDevice* device = painter->paintEngine()->paintDevice();
    if (!device || device->devType() != QInternal::Image) return 0x123456;
    QPoint at = painter->deviceTransform().map(QPoint(x, y));
    return static_cast<QImage*>(device)->pixel(at) & 0xffffff;
}

} // namespace

class Invalidation : public ui_test::UiTest {};

TEST_F(Invalidation, ErasingFillsTheBackgroundAndNotErasingKeepsThePixels) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100), true, "PlainRecorder"); // white
    bool fillRed = true;
    std::vector<QRgb> seen;
    ui_test::setReaction([&](WindowId, MessageKind kind, const MessageParams& params) {
        if (kind != MessageKind::Paint) return 1;
        seen.push_back(pixelBeforePaint(params, 50, 50));
        seen.push_back(pixelBeforePaint(params, 5, 5));
        if (fillRed) params.paint->painter->fillRect(0, 0, 100, 100, Qt::red);
        return 1;
    });
    ASSERT_TRUE(ui_test::waitFor([&] { return !seen.empty(); })); // the first expose
    fillRed = false;

    seen.clear();
    invalidate(window, false);
    updateWindow(window);
    ASSERT_EQ(seen.size(), 2u);
    if (seen[0] == 0x123456) GTEST_SKIP() << "the backing store is not an image here";
    EXPECT_EQ(seen[0], 0xff0000u);

    seen.clear();
    invalidateRect(window, rectAt(40, 40, 20, 20), true);
    updateWindow(window);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], 0xffffffu); // erased to the class background
    EXPECT_EQ(seen[1], 0xff0000u); // outside the invalid part, untouched

    // A part erased and then invalidated without erasing is still erased.
    fillRed = true;
    invalidate(window, false);
    updateWindow(window);
    fillRed = false;
    seen.clear();
    Rect parts[] = {rectAt(0, 0, 10, 10), rectAt(45, 45, 10, 10)};
    invalidateRegion(window, parts, true);
    invalidate(window, false);
    updateWindow(window);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], 0xffffffu);
    EXPECT_EQ(seen[1], 0xffffffu);
    EXPECT_EQ(ui_test::messagesOf(window, MessageKind::Paint).back().params.paintRect,
              clientRect(window));
}

TEST_F(Invalidation, FillRegionPaintsOnlyItsRectangles) {
    Canvas canvas(10, 10);
    Rect rects[] = {rectAt(0, 0, 2, 2), Rect{5, 5, 5, 5}, rectAt(8, 8, 2, 2)};
    fillRegion(&canvas.context, rects, Colour{0, 0, 255});
    EXPECT_EQ(canvas.at(1, 1), 0x0000ffu);
    EXPECT_EQ(canvas.at(5, 5), 0xffffffu);
    EXPECT_EQ(canvas.at(9, 9), 0x0000ffu);
}
