// seeds_picture.cpp - pictures of every form the readers take: BMPs of every
// depth and layout (RLE, V5, bit fields, top-down), JPEG, PNG, GIF, WebP, each
// followed by the four bytes that choose what is done with it.
#include "picture_fuzzing.h"
#include "sample_book/picture_encoders.h"
#include "support/bmp_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    using testing_support::makeBmpFile;
    std::vector<std::string> pictures;
    for (int bits : {1, 2, 4, 8, 16, 24}) pictures.push_back(testing_support::makeBmp(7, 3, bits, unsigned(bits)));
    const std::string palette(16 * 4, '\x40');
    pictures.push_back(makeBmpFile({40, 4, 3, 8, 1, 16, {}, palette,
                                    std::string("\x04\x01\x00\x00\x00\x03\x02\x03\x04\x00\x01\x05\x00\x00"
                                                "\x00\x02\x01\x00\x09\x06\x00\x01", 22)}));
    pictures.push_back(makeBmpFile({40, 4, 2, 4, 2, 16, {}, palette, std::string("\x04\x12\x00\x00\x04\x34\x00\x01", 8)}));
    pictures.push_back(makeBmpFile({124, 3, -2, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF}, "", std::string(24, 'x')}));
    pictures.push_back(makeBmpFile({40, 3, 2, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, "", std::string(16, 'x')}));
    std::vector<std::uint8_t> gifPalette(48), indices(17 * 9);
    for (size_t i = 0; i < gifPalette.size(); ++i) gifPalette[i] = std::uint8_t(i * 5);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = std::uint8_t(i % 16);
    pictures.push_back(encodeJpeg(makePattern(33, 17, 3), 80));
    pictures.push_back(encodeJpeg(makePattern(16, 9, 1), 80, true));
    pictures.push_back(encodePng(makePattern(13, 7, 4), 8, true));
    pictures.push_back(encodeGif(17, 9, indices, gifPalette, 3));
    pictures.push_back(encodeWebp(makePattern(12, 8, 4), true));
    int n = 0;
    for (std::string& picture : pictures) {
        picture += {char(n * 37 + 1), char(n * 11 + 3), char(20 + n), char(15 + n)};
        ++n;
    }
    return fuzzing::writeSeeds(argv[1], pictures);
}
