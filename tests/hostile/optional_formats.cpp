// optional_formats.cpp - forged files of the formats whose plug-ins are built
// when their libraries are found (AVIF, JPEG XL, HEIF, TIFF, PDF), and their
// entries in the hostile suite.
#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "hostile/hostile_files.h"
#include "sample_book/picture_encoders.h"
#include "sources/error_texts.h"
#ifdef VOXA_HAVE_AVIF
#include "sample_book/avif_encoder.h"
#endif
#ifdef VOXA_HAVE_HEIF
#include "sample_book/heif_encoder.h"
#endif
#ifdef VOXA_HAVE_TIFF
#include "sample_book/tiff_encoder.h"
#endif

namespace hostile {

namespace {

std::string be16(unsigned v) { return {char(v >> 8 & 0xFF), char(v & 0xFF)}; }
std::string be32(std::uint32_t v) { return be16(v >> 16) + be16(v & 0xFFFF); }

std::string box(const char* type, const std::string& payload) {
    return be32(std::uint32_t(8 + payload.size())) + type + payload;
}

std::string fullBox(const char* type, int version, const std::string& payload) {
    return box(type, std::string{char(version), 0, 0, 0} + payload);
}

// The box `type` of an ISO-BMFF file, whole, found by its name.
std::string boxOf(const std::string& file, const char* type) {
    size_t at = file.find(type) - 4;
    std::uint32_t size = 0;
    for (int i = 0; i < 4; ++i) size = size << 8 | std::uint8_t(file[at + size_t(i)]);
    return file.substr(at, size);
}

std::uint32_t little32(const std::string& s, size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

} // namespace

std::string withIspeSize(std::string isoFile, std::uint32_t width, std::uint32_t height) {
    // ispe: size, "ispe", version and flags, width, height.
    for (size_t at = isoFile.find("ispe"); at != std::string::npos; at = isoFile.find("ispe", at + 4)) {
        if (at + 16 > isoFile.size()) break;
        isoFile.replace(at + 8, 8, be32(width) + be32(height));
    }
    return isoFile;
}

std::string heifGridClaiming(const std::string& heif, unsigned width, unsigned height) {
    const std::string tile = boxOf(heif, "mdat").substr(8);
    const std::string grid = std::string{0, 0, 0, 0} + be16(width) + be16(height);
    const std::string ispe = fullBox("ispe", 0, be32(64) + be32(64));
    auto meta = [&](std::uint32_t tileOffset) {
        const std::string items = fullBox("infe", 2, be16(1) + be16(0) + "hvc1" + std::string(1, '\0')) +
                                  fullBox("infe", 2, be16(2) + be16(0) + "grid" + std::string(1, '\0'));
        // Item 1 (the tile) in the file, item 2 (the grid) in "idat".
        const std::string locations = std::string{0x44, 0} + be16(2) + be16(1) + be16(0) + be16(0) + be16(1) +
                                      be32(tileOffset) + be32(std::uint32_t(tile.size())) + be16(2) + be16(1) +
                                      be16(0) + be16(1) + be32(0) + be32(std::uint32_t(grid.size()));
        // The tile has its decoder configuration and size, the grid its size.
        const std::string associations = be32(2) + be16(1) + std::string{2, char(0x81), 2} + be16(2) + std::string{1, 3};
        return fullBox("meta", 0,
                       fullBox("hdlr", 0, std::string(4, '\0') + "pict" + std::string(13, '\0')) +
                           fullBox("pitm", 0, be16(2)) + fullBox("iinf", 0, be16(2) + items) +
                           fullBox("iref", 0, box("dimg", be16(2) + be16(1) + be16(1))) +
                           fullBox("iloc", 1, locations) + box("idat", grid) +
                           box("iprp", box("ipco", boxOf(heif, "hvcC") + ispe + ispe) +
                                           fullBox("ipma", 0, associations)));
    };
    const std::string ftyp = box("ftyp", std::string("heic") + std::string(4, '\0') + "mif1heic");
    const std::uint32_t offset = std::uint32_t(ftyp.size() + meta(0).size() + 8);
    return ftyp + meta(offset) + box("mdat", tile);
}

std::string jxlClaiming(std::uint32_t width, std::uint32_t height) {
    std::string bytes = "\xFF\x0A";
    unsigned bits = 0;
    int count = 0;
    // Least significant bit first, as JPEG XL writes its headers.
    auto put = [&](std::uint64_t value, int n) {
        for (int i = 0; i < n; ++i, ++count) {
            bits |= unsigned(i < 64 ? (value >> i) & 1 : 0) << (count % 8);
            if (count % 8 == 7) bytes += char(bits), bits = 0;
        }
    };
    put(0, 1); // not a small size
    put(3, 2), put(height - 1, 30);
    put(0, 3); // no ratio: the width follows
    put(3, 2), put(width - 1, 30);
    put(1, 1); // all metadata default
    put(0, 7 - (count + 7) % 8 + 64);
    return bytes;
}

std::string withTiffSize(std::string tiff, std::uint32_t width, std::uint32_t height) {
    const std::uint32_t directory = little32(tiff, 4);
    std::uint16_t count = 0;
    std::memcpy(&count, tiff.data() + directory, 2);
    for (std::uint16_t i = 0; i < count; ++i) {
        const size_t entry = directory + 2 + size_t(i) * 12;
        std::uint16_t tag = 0;
        std::memcpy(&tag, tiff.data() + entry, 2);
        if (tag != 256 && tag != 257) continue; // ImageWidth, ImageLength
        const std::uint16_t longType = 4;
        const std::uint32_t value = tag == 256 ? width : height;
        std::memcpy(&tiff[entry + 2], &longType, 2);
        std::memcpy(&tiff[entry + 8], &value, 4);
    }
    return tiff;
}

std::string onePagePdf(int width, int height, const std::string& contents, const std::string& imageEntries,
                       const std::string& imageData) {
    std::string packed(compressBound(uLong(contents.size())), '\0');
    uLongf packedSize = uLongf(packed.size());
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(contents.data()),
              uLong(contents.size()), 9);
    packed.resize(packedSize);
    char page[256];
    std::snprintf(page, sizeof page,
                  "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 %d %d] /Contents 4 0 R "
                  "/Resources << /XObject << /Im0 5 0 R >> >> >> endobj\n",
                  width, height);
    // No cross-reference table: readers rebuild it, as they must for damaged files.
    return "%PDF-1.7\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
           "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n" +
           std::string(page) + "4 0 obj << /Length " + std::to_string(packed.size()) +
           " /Filter /FlateDecode >> stream\n" + packed + "\nendstream endobj\n" + "5 0 obj << /Type /XObject " +
           "/Subtype /Image " + imageEntries + " /Length " + std::to_string(imageData.size()) + " >> stream\n" +
           imageData + "\nendstream endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n";
}

void addOptionalFormatFiles(std::vector<HostileFile>& files) {
    using encoders::makePattern;
    [[maybe_unused]] const char* decodeError = kDecodeErrorText;
    [[maybe_unused]] const char* broken = kArchivePictureBrokenText;
#ifdef VOXA_HAVE_AVIF
    // Within the cap, but the AV1 decoder's planes would pass the decoder's share.
    const std::string avif = encoders::encodeAvif(makePattern(16, 16, 3));
    files.push_back({"ispe_12000.avif", Kind::Bytes, [=] { return withIspeSize(avif, 12000, 12000); }, 0, 0, decodeError});
#endif
#ifdef VOXA_HAVE_JXL
    files.push_back({"claims_5000.jxl", Kind::Bytes, [] { return jxlClaiming(5000, 5000); }, 0, 0, decodeError});
    files.push_back({"claims_16384.jxl", Kind::Bytes, [] { return jxlClaiming(16384, 16384); }, 0, 0, decodeError});
#endif
#ifdef VOXA_HAVE_HEIF
    // Grids whose own description claims a canvas its header does not.
    const std::string heif = encoders::encodeHeif(makePattern(64, 64, 3));
    files.push_back({"grid_60000.heic", Kind::Bytes, [=] { return heifGridClaiming(heif, 60000, 60000); }, 0, 0, decodeError});
    files.push_back({"grid_12000.heic", Kind::Bytes, [=] { return heifGridClaiming(heif, 12000, 12000); }, 0, 0, decodeError});
#endif
#ifdef VOXA_HAVE_TIFF
    // 16-bit pages go through libtiff's RGBA reader, whole.
    encoders::TiffPage deep;
    deep.picture = makePattern(30, 20, 3);
    deep.bitsPerSample = 16;
    const std::string deepTiff = encoders::encodeTiff({deep});
    const std::string deepBook = encoders::encodeTiff({deep, deep});
    files.push_back({"rgba_8000.tif", Kind::Bytes, [=] { return withTiffSize(deepTiff, 8000, 8000); }, 0, 0, decodeError});
    files.push_back({"book_page_8000.tif", Kind::Bytes, [=] { return withTiffSize(deepBook, 8000, 8000); }, 0, 0, broken});
#endif
#ifdef VOXA_HAVE_PDF_BOOK
    // A page that would take many minutes to draw: its render is abandoned.
    std::string fills;
    for (int i = 0; i < 200000; ++i) fills += "0 0 595 842 re f\n";
    files.push_back({"endless_render.pdf", Kind::Bytes, [=] { return onePagePdf(595, 842, fills); }, 0, 0, broken});
    // An image claiming 60000 x 60000 pixels over three bytes.
    files.push_back({"image_60000.pdf", Kind::Bytes,
                     [] {
                         return onePagePdf(60, 80, "q 60 0 0 80 0 0 cm /Im0 Do Q",
                                           "/Width 60000 /Height 60000 /ColorSpace /DeviceRGB /BitsPerComponent 8",
                                           "abc");
                     },
                     2631, 3508, ""});
#endif
}

} // namespace hostile
