// gif_decode.cpp - giflib's record reader, stopping at the first frame.
#include "gif/gif_decode.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "common/plugin_io.h"

namespace {

struct Reader {
    const unsigned char* data;
    size_t size;
    size_t at;
};

int readBytes(GifFileType* gif, GifByteType* out, int count) {
    auto* r = static_cast<Reader*>(gif->UserData);
    size_t n = std::min(size_t(count > 0 ? count : 0), r->size - r->at);
    std::memcpy(out, r->data + r->at, n);
    r->at += n;
    return int(n);
}

// The transparent index of a graphic control extension, or -1.
int transparentIndex(const GifByteType* ext) {
    if (ext[0] >= 4 && (ext[1] & 1)) return ext[4];
    return -1;
}

int firstFrame(GifFileType* gif, spi::DibOutput& dib) {
    int transparent = -1;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) return SPI_OUT_OF_ORDER;
        if (record == TERMINATE_RECORD_TYPE) return SPI_OUT_OF_ORDER; // no frame at all
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) return SPI_OUT_OF_ORDER;
            if (code == GRAPHICS_EXT_FUNC_CODE && ext) transparent = transparentIndex(ext);
            while (ext)
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) return SPI_OUT_OF_ORDER;
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return SPI_OUT_OF_ORDER;
        break;
    }
    const GifImageDesc& frame = gif->Image;
    int width = gif->SWidth > 0 ? gif->SWidth : frame.Width;
    int height = gif->SHeight > 0 ? gif->SHeight : frame.Height;
    int result = spi::createDib(width, height, 8, 256, dib);
    if (result != SPI_ALL_RIGHT) return result;

    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (map) {
        for (int i = 0; i < map->ColorCount && i < 256; ++i) {
            dib.palette[i * 4] = map->Colors[i].Blue;
            dib.palette[i * 4 + 1] = map->Colors[i].Green;
            dib.palette[i * 4 + 2] = map->Colors[i].Red;
        }
    } else {
        spi::setGreyPalette(dib, 256);
    }
    int background = gif->SBackGroundColor & 0xFF;
    if (transparent >= 0) {
        background = transparent;
        std::memset(dib.palette + transparent * 4, 255, 3);
    }
    for (int y = 0; y < height; ++y) std::memset(dib.row(y), background, size_t(width));

    // Interlaced frames arrive in four passes of rows.
    std::vector<int> order;
    order.reserve(size_t(frame.Height));
    if (frame.Interlace) {
        const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < frame.Height; y += step[pass]) order.push_back(y);
    } else {
        for (int y = 0; y < frame.Height; ++y) order.push_back(y);
    }
    std::vector<GifPixelType> line(size_t(std::max(frame.Width, 1)));
    for (int y : order) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return SPI_OUT_OF_ORDER;
        int top = frame.Top + y;
        if (top < 0 || top >= height) continue;
        unsigned char* out = dib.row(top);
        for (int x = 0; x < frame.Width; ++x) {
            int left = frame.Left + x;
            if (left >= width) break;
            if (line[size_t(x)] != transparent) out[left] = line[size_t(x)];
        }
    }
    return SPI_ALL_RIGHT;
}

} // namespace

int isGif(const unsigned char* head, size_t size) {
    return size >= 6 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0);
}

int decodeGif(const unsigned char* data, size_t size, SpiHandle* info, SpiHandle* bits) {
    if (!isGif(data, size)) return SPI_NOT_SUPPORT;
    Reader reader{data, size, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readBytes, &error);
    if (!gif) return SPI_OUT_OF_ORDER;
    spi::DibOutput dib;
    int result = firstFrame(gif, dib);
    DGifCloseFile(gif, &error);
    if (result != SPI_ALL_RIGHT) {
        spi::discard(dib);
        return result;
    }
    return spi::handOver(dib, info, bits);
}
