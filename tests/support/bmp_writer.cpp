#include "support/bmp_writer.h"

#include <algorithm>

namespace testing_support {

namespace {

void put16(std::string& out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8);
}

void put32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

Dib makeDib(int width, int height, int bitCount, std::uint32_t seed) {
    const int paletteCount = bitCount <= 8 ? 1 << bitCount : 0;
    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) >> 3) & ~3u;
    Dib dib;
    dib.header.assign(40 + 4 * paletteCount, '\0');
    put32(dib.header, 0, 40);
    put32(dib.header, 4, static_cast<std::uint32_t>(width));
    put32(dib.header, 8, static_cast<std::uint32_t>(height));
    put16(dib.header, 12, 1);
    put16(dib.header, 14, static_cast<std::uint16_t>(bitCount));
    put32(dib.header, 20, static_cast<std::uint32_t>(stride * height));
    for (int i = 0; i < paletteCount; ++i) {
        dib.header[40 + 4 * i] = static_cast<char>(i);
        dib.header[41 + 4 * i] = static_cast<char>(255 - i);
        dib.header[42 + 4 * i] = static_cast<char>(i / 2);
    }
    dib.bits.assign(stride * height, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    const std::size_t used = (static_cast<std::size_t>(width) * bitCount + 7) / 8;
    for (int y = 0; y < height; ++y)
        for (std::size_t x = 0; x < used; ++x) {
            state = state * 1103515245u + 12345u;
            dib.bits[y * stride + x] = static_cast<char>(state >> 16);
        }
    return dib;
}

std::string makeBmp(int width, int height, int bitCount, std::uint32_t seed) {
    Dib dib = makeDib(width, height, bitCount, seed);
    std::string file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<std::uint32_t>(14 + dib.header.size() + dib.bits.size()));
    put32(file, 10, static_cast<std::uint32_t>(14 + dib.header.size()));
    return file + dib.header + dib.bits;
}

std::string makeBmpFile(const BmpParts& parts) {
    std::string info(parts.infoSize, '\0');
    std::string masks;
    for (std::uint32_t mask : parts.masks) {
        std::string word(4, '\0');
        put32(word, 0, mask);
        masks += word;
    }
    if (parts.infoSize > 40)
        info.replace(40, std::min(masks.size(), info.size() - 40), masks, 0, info.size() - 40);
    else
        info += masks;
    if (info.size() >= 40) {
        put32(info, 0, parts.infoSize);
        put32(info, 4, static_cast<std::uint32_t>(parts.width));
        put32(info, 8, static_cast<std::uint32_t>(parts.height));
        put16(info, 12, 1);
        put16(info, 14, static_cast<std::uint16_t>(parts.bitCount));
        put32(info, 16, parts.compression);
        put32(info, 20, static_cast<std::uint32_t>(parts.pixels.size()));
        put32(info, 32, parts.colorsUsed);
    }
    std::string file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    const std::size_t offset = 14 + info.size() + parts.palette.size();
    put32(file, 2, static_cast<std::uint32_t>(offset + parts.pixels.size()));
    put32(file, 10, static_cast<std::uint32_t>(offset));
    return file + info + parts.palette + parts.pixels;
}

} // namespace testing_support
