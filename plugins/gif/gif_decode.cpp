// gif_decode.cpp - giflib's record reader, stopping at the first frame.
#include "gif/gif_decode.h"

#include <algorithm>
#include <cstring>
#include <memory>
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
    // The picture is the first frame at its own size. The logical screen
    // around it is only a stage for an animation, and a forged one of 32767
    // x 32767 around a 1 x 1 frame would cost a gigabyte of background.
    const GifImageDesc& frame = gif->Image;
    const int width = frame.Width, height = frame.Height;
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
    if (transparent >= 0) std::memset(dib.palette + transparent * 4, 255, 3);

    // Interlaced frames arrive in four passes of rows.
    std::vector<int> order;
    order.reserve(size_t(height));
    if (frame.Interlace) {
        const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
    } else {
        for (int y = 0; y < height; ++y) order.push_back(y);
    }
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int y : order) {
        if (DGifGetLine(gif, line.data(), width) == GIF_ERROR) return SPI_OUT_OF_ORDER;
        std::memcpy(dib.row(y), line.data(), size_t(width));
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
    auto close = [](GifFileType* gif) {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    };
    std::unique_ptr<GifFileType, decltype(close)> gif(DGifOpen(&reader, readBytes, &error), close);
    if (!gif) return SPI_OUT_OF_ORDER;
    spi::DibOutput dib;
    int result = firstFrame(gif.get(), dib);
    if (result != SPI_ALL_RIGHT) return result;
    return spi::handOver(dib, info, bits);
}
