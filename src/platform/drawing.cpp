#include "platform/drawing.h"

#include <QImage>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/byte_permutes.h"
#if VOXA_HAS_BYTE_PERMUTES
#include "platform/avx512_intrinsics.h"
#endif

#include "platform/dib_image.h"
#include "platform/dib_layout.h"
#include "platform/dib_reduce.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {

QImage dibToImage(const DibLayout& layout, const unsigned char* palette, const unsigned char* bits,
                  Rect source) {
    QImage image(source.width(), source.height(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    QRgb colours[256];
    int bitCount = layout.bitCount;
    if (bitCount <= 8) {
        // Indexes past the stored entries draw black.
        std::fill(std::begin(colours), std::end(colours), qRgb(0, 0, 0));
        for (int i = 0; i < layout.usablePalette; ++i) {
            const unsigned char* entry = palette + 4 * i;
            colours[i] = qRgb(entry[2], entry[1], entry[0]);
        }
    }
    for (int y = 0; y < source.height(); ++y) {
        int pictureRow = source.top + y;
        int memoryRow = layout.topDown ? pictureRow : layout.height - 1 - pictureRow;
        const unsigned char* row = bits + std::size_t(memoryRow) * layout.stride;
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            int px = source.left + x;
            switch (bitCount) {
            case 24: {
                const unsigned char* p = row + 3 * px;
                out[x] = qRgb(p[2], p[1], p[0]);
                break;
            }
            case 32: {
                const unsigned char* p = row + 4 * px;
                out[x] = qRgb(p[2], p[1], p[0]);
                break;
            }
            case 16: {
                // 5-5-5 words, blue lowest; each channel keeps its five bits at the top.
                unsigned v = row[2 * px] | (row[2 * px + 1] << 8);
                out[x] = qRgb((v >> 7) & 248, (v >> 2) & 248, (v << 3) & 255);
                break;
            }
            case 8:
                out[x] = colours[row[px]];
                break;
            default: {
                // 1, 2 and 4 bits: packed from the most significant bit.
                int bit = px * bitCount;
                unsigned byte = row[bit >> 3];
                int shift = 8 - bitCount - (bit & 7);
                out[x] = colours[(byte >> shift) & ((1u << bitCount) - 1)];
                break;
            }
            }
        }
    }
    return image;
}

} // namespace detail

namespace {

// Blue-green-red bytes to 0xffRRGGBB words, four pixels (three words in) at a time.
#if VOXA_HAS_BYTE_PERMUTES
// Sixteen pixels a step: the 48 bytes they take move into 16 words with one
// byte permute, and the fourth byte of each is set.
BYTE_PERMUTES int copyRowsWide(const unsigned char* in, QRgb* out, int width) {
    alignas(64) static const unsigned char spread[64] = {
        0,  1,  2,  0,  3,  4,  5,  0,  6,  7,  8,  0,  9,  10, 11, 0,  12, 13, 14, 0,  15, 16,
        17, 0,  18, 19, 20, 0,  21, 22, 23, 0,  24, 25, 26, 0,  27, 28, 29, 0,  30, 31, 32, 0,
        33, 34, 35, 0,  36, 37, 38, 0,  39, 40, 41, 0,  42, 43, 44, 0,  45, 46, 47, 0};
    const __m512i pick = _mm512_load_si512(spread);
    const __m512i opaque = _mm512_set1_epi32(static_cast<int>(0xff000000u));
    int x = 0;
    for (; x + 16 <= width; x += 16, in += 48) {
        const __m512i bytes = _mm512_maskz_loadu_epi8((std::uint64_t{1} << 48) - 1, in);
        _mm512_storeu_si512(out + x, _mm512_or_si512(_mm512_permutexvar_epi8(pick, bytes), opaque));
    }
    return x;
}
#endif

void copyRowTo32(const unsigned char* in, QRgb* out, int width) {
    int x = 0;
#if VOXA_HAS_BYTE_PERMUTES
    if (hasBytePermutes()) {
        x = copyRowsWide(in, out, width);
        in += 3 * x;
    }
#endif
    for (; x + 4 <= width; x += 4, in += 12) {
        std::uint32_t a, b, c;
        std::memcpy(&a, in, 4);
        std::memcpy(&b, in + 4, 4);
        std::memcpy(&c, in + 8, 4);
        if constexpr (std::endian::native == std::endian::little) {
            out[x] = 0xff000000u | (a & 0xffffffu);
            out[x + 1] = 0xff000000u | (a >> 24) | ((b & 0xffffu) << 8);
            out[x + 2] = 0xff000000u | (b >> 16) | ((c & 0xffu) << 16);
            out[x + 3] = 0xff000000u | (c >> 8);
        } else {
            for (int k = 0; k < 4; ++k)
                out[x + k] = qRgb(in[3 * k + 2], in[3 * k + 1], in[3 * k]);
        }
    }
    for (; x < width; ++x, in += 3)
        out[x] = qRgb(in[2], in[1], in[0]);
}

QImage reducedImage(const DibLayout& layout, const unsigned char* palette,
                    const unsigned char* bits, Rect source, Size size, int threads = 0) {
    QImage image(size.width, size.height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    reduceDib(layout, palette, bits, source, size.width, size.height, image.bits(),
              static_cast<std::size_t>(image.bytesPerLine()), threads);
    return image;
}

} // namespace

class ReducedPicture {
public:
    explicit ReducedPicture(QImage image) : image(std::move(image)) {}
    QImage image;
};

std::shared_ptr<const ReducedPicture> reducePicture(const unsigned char* header,
                                                    std::size_t headerSize,
                                                    const unsigned char* bits, std::size_t bitsSize,
                                                    Size size, int threads) {
    if (!header || !bits) return nullptr;
    std::optional<DibLayout> layout = readDibLayout(header, headerSize, bitsSize);
    if (!layout || size.width < 1 || size.height < 1 || size.width > layout->width ||
        size.height > layout->height)
        return nullptr;
    QImage image = reducedImage(*layout, header + kDibHeaderSize, bits,
                                rectAt(0, 0, layout->width, layout->height), size, threads);
    if (image.isNull()) return nullptr;
    return std::make_shared<const ReducedPicture>(std::move(image));
}

Size reducedSize(const ReducedPicture& picture) {
    return {picture.image.width(), picture.image.height()};
}

void drawReduced(PaintContext* paint, const ReducedPicture& picture, Point at) {
    if (!paint || !paint->painter) return;
    paint->painter->drawImage(QPoint(at.x, at.y), picture.image);
}

int blitSurface(PaintContext* paint, int x, int y, const unsigned char* pixels, int width,
                int height, int stride, std::size_t size) {
    if (!paint || !paint->painter || !pixels || width <= 0 || height <= 0) return 0;
    if (std::int64_t(stride) < std::int64_t(width) * 3) return 0;
    if (std::uint64_t(stride) * std::uint64_t(height) > size) return 0;
    // Only the part being painted is converted: a surface much larger than
    // the window costs no more than the window.
    QRect part(x, y, width, height);
    if (!paint->area.isNull()) part &= paint->area;
    if (part.isEmpty()) return 1;
    // The image is kept for the next paint of the same size: a fresh one of
    // a window's size faults in 8 MB every time.
    thread_local QImage image;
    if (image.size() != part.size()) image = QImage(part.size(), QImage::Format_RGB32);
    if (image.isNull()) return 0;
    int left = part.x() - x;
    for (int row = 0; row < part.height(); ++row) {
        int surfaceRow = part.y() - y + row; // from the top
        const unsigned char* in =
            pixels + std::size_t(height - 1 - surfaceRow) * stride + std::size_t(left) * 3;
        copyRowTo32(in, reinterpret_cast<QRgb*>(image.scanLine(row)), part.width());
    }
    paint->painter->drawImage(part.topLeft(), image);
    return 1;
}

int drawDibStretched(PaintContext* paint, const unsigned char* header, std::size_t headerSize,
                     const unsigned char* bits, std::size_t bitsSize, Rect destination,
                     Rect source) {
    if (!paint || !paint->painter || !bits) return 0;
    std::optional<DibLayout> layout = readDibLayout(header, headerSize, bitsSize);
    if (!layout) return 0;
    Rect cut{std::max(source.left, 0), std::max(source.top, 0),
             std::min(source.right, layout->width), std::min(source.bottom, layout->height)};
    if (cut.isEmpty() || destination.isEmpty()) return 1;
    QPainter& painter = *paint->painter;
    const bool sameSize = destination.width() == cut.width() && destination.height() == cut.height();
    if (destination.width() <= cut.width() && destination.height() <= cut.height() && !sameSize) {
        // Reducing: averaged down to the destination, which is smaller than the source.
        QImage reduced = reducedImage(*layout, header + kDibHeaderSize, bits, cut,
                                      {destination.width(), destination.height()});
        if (reduced.isNull()) return 0;
        painter.drawImage(QPoint(destination.left, destination.top), reduced);
        return 1;
    }
    // Enlarging, or the same size: interpolated by the painter. Only the
    // source pixels under the painted area, and two around them for the
    // smoothing, are converted and drawn, at the place and scale the whole
    // source would have: a large picture at actual size, or one zoomed far
    // beyond the window, costs no more than the window.
    QRect area(0, 0, painter.device()->width(), painter.device()->height());
    if (!paint->area.isNull()) area &= paint->area;
    const QRect shown = detail::toQRect(destination) & area;
    if (shown.isEmpty()) return 1;
    const double scaleX = double(destination.width()) / cut.width();
    const double scaleY = double(destination.height()) / cut.height();
    auto sourceAt = [](int at, int origin, double scale) {
        return double(at - origin) / scale;
    };
    const Rect part{
        std::max(cut.left, cut.left + int(std::floor(sourceAt(shown.left(), destination.left, scaleX))) - 2),
        std::max(cut.top, cut.top + int(std::floor(sourceAt(shown.top(), destination.top, scaleY))) - 2),
        std::min(cut.right,
                 cut.left + int(std::ceil(sourceAt(shown.right() + 1, destination.left, scaleX))) + 2),
        std::min(cut.bottom,
                 cut.top + int(std::ceil(sourceAt(shown.bottom() + 1, destination.top, scaleY))) + 2)};
    QImage image = detail::dibToImage(*layout, header + kDibHeaderSize, bits, part);
    if (image.isNull()) return 0;
    const QRectF target(destination.left + (part.left - cut.left) * scaleX,
                        destination.top + (part.top - cut.top) * scaleY, part.width() * scaleX,
                        part.height() * scaleY);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image, QRectF(image.rect()));
    painter.restore();
    return 1;
}

void fillRegion(PaintContext* paint, std::span<const Rect> rects, Colour colour) {
    if (!paint || !paint->painter) return;
    for (const Rect& rect : rects)
        if (!rect.isEmpty())
            paint->painter->fillRect(detail::toQRect(rect),
                                     QColor(colour.red, colour.green, colour.blue));
}

} // namespace platform
