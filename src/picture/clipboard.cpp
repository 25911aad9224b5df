#include "picture/clipboard.h"

#include <cstring>

#include "picture/dib_header.h"
#include "platform/desktop.h"

std::vector<unsigned char> packedDib(const PictureBuffer& picture) {
    if (!picture.isHandled()) return {};
    const std::size_t headerBytes =
        kInfoHeaderSize + 4 * std::size_t(paletteCount(picture.bitCount, picture.colorsUsed));
    const std::size_t rowsBytes = std::size_t(picture.stride) * std::size_t(picture.height);
    std::vector<unsigned char> dib(static_cast<std::size_t>(
        packedDibSize(picture.width, picture.height, picture.bitCount, picture.colorsUsed)));
    std::memcpy(dib.data(), platform::lockBlock(picture.headerBlock), headerBytes);
    std::memcpy(dib.data() + headerBytes, platform::lockBlock(picture.bitsBlock), rowsBytes);
    return dib;
}

int copyToClipboard(const PictureBuffer& picture) {
    const std::vector<unsigned char> dib = packedDib(picture);
    if (dib.empty()) return 0;
    return platform::setClipboardDib(dib.data(), dib.size());
}
