// seeds_tiff.cpp - single and multi-page TIFF seeds of every page kind the
// plug-ins tell apart: strips of each depth, tiles, planes, alpha, thumbnails.
#include <tiffio.h>

#include "picture_fuzzing.h"
#include "sample_book/tiff_encoder.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    auto page = [](Picture picture, int compression) {
        TiffPage p;
        p.picture = std::move(picture);
        p.compression = compression;
        return p;
    };
    TiffPage fax = page(makePattern(40, 30, 1), COMPRESSION_CCITTFAX4);
    fax.bitsPerSample = 1;
    fax.minIsWhite = true;
    TiffPage tiled = page(makePattern(33, 17, 3), COMPRESSION_ADOBE_DEFLATE);
    tiled.tileSide = 16;
    TiffPage deep = page(makePattern(9, 7, 4), COMPRESSION_LZW);
    deep.bitsPerSample = 16;
    TiffPage thumbnail = page(makePattern(4, 3, 3), COMPRESSION_NONE);
    thumbnail.reducedImage = true;
    TiffPage indexed = page(makePattern(11, 5, 1), COMPRESSION_PACKBITS);
    for (int i = 0; i < 256; ++i) indexed.paletteRgb.insert(indexed.paletteRgb.end(), {std::uint8_t(i), 0, std::uint8_t(255 - i)});
    return fuzzing::writeSeeds(argv[1], {encodeTiff({page(makePattern(21, 13, 3), COMPRESSION_LZW)}),
                                         encodeTiff({fax, thumbnail, tiled}), encodeTiff({deep, indexed}),
                                         encodeTiff({page(makePattern(16, 16, 3), COMPRESSION_JPEG)})});
}
