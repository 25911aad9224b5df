#include "platform/desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "platform/dib_image.h"
#include "platform/dib_layout.h"

namespace platform {
namespace {

const char* const kBmpMime = "image/bmp";

void putUint32(QByteArray& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

} // namespace

int openWithDesktop(const std::string& path) {
    if (path.empty()) return 0;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))) ? 1 : 0;
}

int setClipboardDib(const unsigned char* dib, std::size_t size) {
    std::optional<DibLayout> layout = readPackedDibLayout(dib, size);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!layout || !clipboard) return 0;
    std::size_t headerBytes = kDibHeaderSize + 4 * std::size_t(layout->paletteCount);
    std::size_t dibBytes = headerBytes + layout->pixelBytes;
    std::size_t fileBytes = 14 + dibBytes;
    if (fileBytes > 0xffffffffu) return 0;

    // A BMP file is the packed DIB behind a 14-byte file header that says
    // where the rows start.
    QByteArray file;
    file.reserve(static_cast<qsizetype>(fileBytes));
    file.append("BM", 2);
    putUint32(file, static_cast<std::uint32_t>(fileBytes));
    putUint32(file, 0);
    putUint32(file, static_cast<std::uint32_t>(14 + headerBytes));
    file.append(reinterpret_cast<const char*>(dib), static_cast<qsizetype>(dibBytes));

    auto* data = new QMimeData;
    data->setData(kBmpMime, file);
    QImage image = detail::dibToImage(*layout, dib + kDibHeaderSize, dib + headerBytes,
                                      Rect{0, 0, layout->width, layout->height});
    if (!image.isNull()) data->setImageData(image);
    clipboard->setMimeData(data); // the clipboard owns it from here
    return 1;
}

std::string clipboardBmp() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(kBmpMime)) return {};
    QByteArray bytes = data->data(kBmpMime);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace platform
