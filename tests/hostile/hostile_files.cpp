#include "hostile/hostile_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include <zlib.h>

#include "sample_book/archive_writer.h"
#include "sample_book/picture_encoders.h"
#include "sources/error_texts.h"
#include "support/bmp_writer.h"

namespace hostile {

namespace {

void putBig16(std::string& file, std::size_t at, int v) {
    file[at] = char(v >> 8 & 0xFF);
    file[at + 1] = char(v & 0xFF);
}

void putLittle16(std::string& file, std::size_t at, int v) {
    file[at] = char(v & 0xFF);
    file[at + 1] = char(v >> 8 & 0xFF);
}

void putLittle32(std::string& file, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + std::size_t(i)] = char(v >> (8 * i) & 0xFF);
}

std::uint32_t little32(const std::string& file, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(file[at + std::size_t(i)])) << (8 * i);
    return v;
}

// The image descriptor of a GIF's first frame: after the screen, its
// palette and any extensions.
std::size_t firstGifFrame(const std::string& gif) {
    std::size_t at = 13;
    const int flags = std::uint8_t(gif[10]);
    if (flags & 0x80) at += 3u << ((flags & 7) + 1);
    while (at < gif.size() && gif[at] == '!') {
        at += 2; // the introducer and the label
        while (at < gif.size() && gif[at] != 0) at += std::size_t(std::uint8_t(gif[at])) + 1;
        ++at;
    }
    return at;
}

// `value` in octal, `width` - 1 digits and a NUL, as tar fields are written.
void putOctal(std::string& header, std::size_t at, std::size_t width, std::uint64_t value) {
    std::string digits(width - 1, '0');
    for (std::size_t i = width - 1; i-- > 0; value >>= 3) digits[i] = char('0' + (value & 7));
    header.replace(at, width - 1, digits);
    header[at + width - 1] = '\0';
}

std::string bytesOf(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += char(v);
    return out;
}

// RLE8 runs that fill a picture of `width` x `height` with index 1, row by row.
std::string filledRuns(int width, int height) {
    std::string row;
    for (int left = width; left > 0; left -= 255) row += bytesOf({std::min(left, 255), 1});
    row += bytesOf({0, 0});
    std::string runs;
    for (int y = 0; y < height; ++y) runs += row;
    return runs + bytesOf({0, 1});
}

} // namespace

std::string withJpegSize(std::string jpeg, int width, int height) {
    std::size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos) sof = jpeg.find("\xFF\xC2");
    if (sof == std::string::npos) return jpeg;
    putBig16(jpeg, sof + 5, height);
    putBig16(jpeg, sof + 7, width);
    return jpeg;
}

std::string withPngSize(std::string png, std::uint32_t width, std::uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        png[16 + std::size_t(i)] = char(width >> (24 - 8 * i) & 0xFF);
        png[20 + std::size_t(i)] = char(height >> (24 - 8 * i) & 0xFF);
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    for (int i = 0; i < 4; ++i) png[29 + std::size_t(i)] = char(crc >> (24 - 8 * i) & 0xFF);
    return png;
}

std::string withWebpLosslessSize(std::string webp, int width, int height) {
    // After "VP8L", the chunk size and the signature byte: 14 bits of width
    // - 1, 14 of height - 1, then the alpha bit and the version.
    const std::size_t at = webp.find("VP8L");
    if (at == std::string::npos) return webp;
    const std::uint32_t bits = (little32(webp, at + 9) & 0xF0000000u) | std::uint32_t(width - 1) |
                               std::uint32_t(height - 1) << 14;
    putLittle32(webp, at + 9, bits);
    return webp;
}

std::string withGifScreen(std::string gif, int width, int height) {
    putLittle16(gif, 6, width);
    putLittle16(gif, 8, height);
    return gif;
}

std::string withGifFrame(std::string gif, int left, int top, int width, int height) {
    const std::size_t frame = firstGifFrame(gif);
    putLittle16(gif, frame + 1, left);
    putLittle16(gif, frame + 3, top);
    putLittle16(gif, frame + 5, width);
    putLittle16(gif, frame + 7, height);
    return gif;
}

std::string withRepeatedLastScan(const std::string& jpeg, int times) {
    const std::size_t last = jpeg.rfind("\xFF\xDA"), end = jpeg.rfind("\xFF\xD9");
    std::string out = jpeg.substr(0, end);
    for (int i = 0; i < times; ++i) out += jpeg.substr(last, end - last);
    return out + "\xFF\xD9";
}

std::string withZipSizes(std::string zip, std::uint32_t claimed) {
    for (std::size_t at = zip.find("PK\3\4"); at != std::string::npos; at = zip.find("PK\3\4", at + 4))
        putLittle32(zip, at + 22, claimed);
    for (std::size_t at = zip.find("PK\1\2"); at != std::string::npos; at = zip.find("PK\1\2", at + 4))
        putLittle32(zip, at + 24, claimed);
    return zip;
}

std::string sparseTar(const std::string& name, std::uint64_t holeBytes, const std::string& data) {
    std::string header(512, '\0');
    header.replace(0, name.size(), name);
    putOctal(header, 100, 8, 0644);
    putOctal(header, 108, 8, 0);
    putOctal(header, 116, 8, 0);
    putOctal(header, 124, 12, 512); // the bytes stored
    putOctal(header, 136, 12, 0);
    header[156] = 'S'; // an old GNU sparse member
    header.replace(257, 8, std::string("ustar  \0", 8));
    putOctal(header, 386, 12, holeBytes); // one stored part, after the holes
    putOctal(header, 398, 12, 512);
    putOctal(header, 483, 12, holeBytes + 512); // the size it unpacks to
    header.replace(148, 8, "        ");
    unsigned sum = 0;
    for (char c : header) sum += std::uint8_t(c);
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "%06o", sum);
    header.replace(148, 7, std::string(checksum, 6) + '\0');
    std::string stored = data;
    stored.resize(512, '\0');
    return header + stored + std::string(1024, '\0');
}

std::string zipOfZeros(const std::string& name, std::uint32_t size, std::uint32_t claimed) {
    // The raw deflate stream, made a mebibyte at a time.
    const std::string zeros(1 << 20, '\0');
    std::string data;
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    uLong crc = crc32(0, nullptr, 0);
    char out[1 << 16];
    for (std::uint32_t done = 0; done <= size; done += zeros.size()) {
        const bool last = size - done <= zeros.size();
        const uInt part = uInt(last ? size - done : zeros.size());
        crc = crc32(crc, reinterpret_cast<const Bytef*>(zeros.data()), part);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
        z.avail_in = part;
        do {
            z.next_out = reinterpret_cast<Bytef*>(out);
            z.avail_out = sizeof out;
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            data.append(out, sizeof out - z.avail_out);
        } while (z.avail_out == 0);
        if (last) break;
    }
    deflateEnd(&z);

    // A local header, the data, one central record and the end record.
    auto header = [&](bool central) {
        std::string h(central ? 46 : 30, '\0');
        std::size_t at = 0;
        putLittle32(h, at, central ? 0x02014b50u : 0x04034b50u);
        at += 4;
        if (central) putLittle16(h, (at += 2) - 2, 20); // made by
        putLittle16(h, at, 20);                        // needed
        putLittle16(h, at + 4, 8);                     // deflate
        putLittle16(h, at + 8, 0x21);                  // 1980-01-01
        putLittle32(h, at + 10, std::uint32_t(crc));
        putLittle32(h, at + 14, std::uint32_t(data.size()));
        putLittle32(h, at + 18, claimed);
        putLittle16(h, at + 22, int(name.size()));
        return h + name;
    };
    const std::string local = header(false) + data;
    const std::string central = header(true);
    std::string end(22, '\0');
    putLittle32(end, 0, 0x06054b50u);
    putLittle16(end, 8, 1);
    putLittle16(end, 10, 1);
    putLittle32(end, 12, std::uint32_t(central.size()));
    putLittle32(end, 16, std::uint32_t(local.size()));
    return local + central + end;
}

std::vector<HostileFile> hostileFiles() {
    using encoders::makePattern;
    using testing_support::BmpParts;
    using testing_support::makeBmpFile;
    const std::string zeros(16, '\0');
    const std::string palette16(16 * 4, '\x40');
    const std::string rle8 = bytesOf({4, 1, 0, 0, 0, 3, 2, 3, 4, 0, 1, 5, 0, 0, 0, 2, 1, 0, 9, 6, 0, 1});
    std::string biSize = makeBmpFile({40, 2, 2, 24, 0, 0, {}, "", zeros});
    putLittle32(biSize, 14, 0xFFFFFFF0u);

    const std::string jpeg = encoders::encodeJpeg(makePattern(16, 16, 3), 90);
    const std::string progressive = encoders::encodeJpeg(makePattern(16, 16, 3), 90, true);
    const std::string png = encoders::encodePng(makePattern(16, 16, 1));
    const std::string pngAlpha = encoders::encodePng(makePattern(16, 16, 4), 8, true);
    const std::string webp = encoders::encodeWebp(makePattern(4, 4, 3), true);
    std::vector<std::uint8_t> gifPalette = {0, 0, 0, 255, 255, 255};
    const std::string gif = encoders::encodeGif(1, 1, {1}, gifPalette);
    const std::string page = testing_support::makeBmp(64, 64, 24);
    const std::string zip = encoders::writeArchive(encoders::ArchiveFormat::Zip, {{"page.bmp", page}});

    const char* notSupported = kNotSupportedText;
    const char* decodeError = kDecodeErrorText;
    const char* broken = kArchivePictureBrokenText;
    std::vector<HostileFile> files = {
        // BMP: absurd sizes in a few bytes, lying palettes and headers, cut rows.
        {"absurd_size.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 0x7FFFFFFF, 0x7FFFFFFF, 24, 0, 0, {}, "", zeros}); }, 0, 0, notSupported},
        {"over_the_cap.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 20000, 20000, 24, 0, 0, {}, "", zeros}); }, 0, 0, notSupported},
        {"colours_2_31.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 2, 2, 4, 0, 0x80000000u, {}, palette16, zeros}); }, 0, 0, notSupported},
        {"no_palette.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 2, 2, 8, 0, 0, {}, "", zeros}); }, 0, 0, notSupported},
        {"header_fffffff0.bmp", Kind::Bytes, [=] { return biSize; }, 0, 0, notSupported},
        {"cut_rows.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 100, 100, 24, 0, 0, {}, "", std::string(1000, 'x')}); }, 0, 0, notSupported},
        {"height_int_min.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 2, INT32_MIN, 24, 0, 0, {}, "", zeros}); }, 0, 0, notSupported},
        {"embedded_jpeg.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 16, 16, 0, 4, 0, {}, "", jpeg}); }, 0, 0, notSupported},
        // BMP forms that are converted.
        {"rle8.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 4, 3, 8, 1, 16, {}, palette16, rle8}); }, 4, 3, ""},
        {"rle8_gigapixel.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 16384, 16384, 8, 1, 16, {}, palette16, bytesOf({0, 1})}); }, 16384, 16384, ""},
        {"rle8_gigapixel_filled.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 16384, 16384, 8, 1, 16, {}, palette16, filledRuns(16384, 16384)}); }, 16384, 16384, ""},
        {"rle4.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 4, 2, 4, 2, 16, {}, palette16, bytesOf({4, 0x12, 0, 0, 4, 0x34, 0, 1})}); }, 4, 2, ""},
        {"v5_top_down.bmp", Kind::Bytes, [=] { return makeBmpFile({124, 2, -2, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF}, "", std::string(16, 'x')}); }, 2, 2, ""},
        {"fields_565.bmp", Kind::Bytes, [=] { return makeBmpFile({40, 2, 2, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, "", std::string(8, 'x')}); }, 2, 2, ""},
        // GIF: a huge screen around a 1 x 1 frame; a huge frame.
        {"screen_32767.gif", Kind::Bytes, [=] { return withGifScreen(gif, 32767, 32767); }, 1, 1, ""},
        {"frame_far_away.gif", Kind::Bytes, [=] { return withGifFrame(withGifScreen(gif, 32767, 32767), 30000, 30000, 1, 1); }, 1, 1, ""},
        {"frame_65535.gif", Kind::Bytes, [=] { return withGifFrame(gif, 0, 0, 65535, 65535); }, 0, 0, decodeError},
        // WebP, JPEG, PNG: sizes over the cap, or over the decoder's share.
        {"lossless_16383.webp", Kind::Bytes, [=] { return withWebpLosslessSize(webp, 16383, 16383); }, 0, 0, decodeError},
        {"progressive_18000.jpg", Kind::Bytes, [=] { return withJpegSize(progressive, 18000, 18000); }, 0, 0, decodeError},
        {"progressive_12000.jpg", Kind::Bytes, [=] { return withJpegSize(progressive, 12000, 12000); }, 0, 0, decodeError},
        {"baseline_18000.jpg", Kind::Bytes, [=] { return withJpegSize(jpeg, 18000, 18000); }, 0, 0, decodeError},
        {"endless_scans.jpg", Kind::Bytes, [=] { return withRepeatedLastScan(progressive, 1200); }, 0, 0, decodeError},
        {"side_32000.png", Kind::Bytes, [=] { return withPngSize(png, 32000, 32000); }, 0, 0, decodeError},
        {"interlaced_alpha_8000.png", Kind::Bytes, [=] { return withPngSize(pngAlpha, 8000, 8000); }, 0, 0, decodeError},
        {"cut_16000.png", Kind::Bytes, [=] { return withPngSize(png, 16000, 16000); }, 0, 0, decodeError},
        // Archives whose headers lie, and sparse members.
        {"lying.zip", Kind::Bytes, [=] { return withZipSizes(zip, 100); }, 0, 0, broken},
        {"claims_3_75_gib.zip", Kind::Bytes, [=] { return withZipSizes(zip, 0xF0000000u); }, 0, 0, broken},
        {"sparse_2_gib.tar", Kind::Bytes, [=] { return sparseTar("page.bmp", std::uint64_t{2} << 30, page); }, 0, 0, broken},
        // Under the member cap: unpacked, then found to be no picture, within
        // the cap and 64 MiB.
        {"sparse_700_mib.tar", Kind::Bytes, [=] { return sparseTar("page.bmp", std::uint64_t{700} << 20, page); }, 0, 0, broken, 772 + 64},
        // ZIPs of 500 MiB of zeros in half a megabyte: one says so, and is
        // unpacked once, straight into its block, within the member cap and
        // 64 MiB; one claims 100 bytes and is refused once it passes them.
        {"zeros_500_mib.zip", Kind::Bytes, [] { return zipOfZeros("page.bmp", 500 << 20, 500 << 20); }, 0, 0, broken, 772 + 64},
        {"bomb_claims_100.zip", Kind::Bytes, [] { return zipOfZeros("page.bmp", 500 << 20, 100); }, 0, 0, broken},
        // Pages that are no files.
        {"fifo.bmp", Kind::Fifo, {}, 0, 0, notSupported},
        {"zero.bmp", Kind::DeviceLink, {}, 0, 0, notSupported},
    };
    addOptionalFormatFiles(files);
    return files;
}

bool writeHostileFile(const std::string& folder, const HostileFile& file) {
    const std::string path = folder + file.name;
    switch (file.kind) {
    case Kind::Fifo:
        return ::mkfifo(path.c_str(), 0600) == 0;
    case Kind::DeviceLink:
        return ::symlink("/dev/zero", path.c_str()) == 0;
    case Kind::Bytes:
        break;
    }
    const std::string bytes = file.bytes();
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

} // namespace hostile
