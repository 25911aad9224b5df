#include "sources/jpeg_check.h"

namespace {

unsigned bigEndian16(const unsigned char* bytes) {
    return (bytes[0] << 8) | bytes[1];
}

// The end of the data after the start of scan: FF D9 as the last two bytes,
// or, when the second-to-last byte is not FF, FF D9 starting 3 to 11 bytes
// before the end (up to 9 trailing bytes are tolerated).
int judgeEnd(const unsigned char* bytes, std::size_t size) {
    if (bytes[size - 2] == 0xFF) return bytes[size - 1] == 0xD9 ? kJpegWellFormed : kJpegBroken;
    for (std::size_t back = 3; back <= 11 && back <= size; ++back) {
        std::size_t at = size - back;
        if (bytes[at] == 0xFF && bytes[at + 1] == 0xD9) return kJpegWellFormed;
    }
    return kJpegBroken;
}

} // namespace

int checkJpeg(const unsigned char* bytes, std::size_t size, int* width, int* height) {
    *width = *height = 0;
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return kNotJpeg;
    if (size <= 6) return kJpegBroken;
    std::size_t i = 2; // the first byte of a marker
    for (;;) {
        if (bytes[i] != 0xFF) return kNotJpeg;
        while (i + 1 < size && bytes[i + 1] == 0xFF)
            ++i;
        if (i + 1 >= size) return kJpegBroken;
        ++i; // now at the marker code
        const unsigned code = bytes[i];
        if (code == 0xDA) return judgeEnd(bytes, size);
        if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
            i += 1;
        } else {
            const bool frame = code == 0xC0 || code == 0xC2;
            if (frame && size - i <= 8) return kJpegBroken;
            if (i + 2 >= size) return kJpegBroken;
            if (frame) {
                *height = static_cast<int>(bigEndian16(bytes + i + 4));
                *width = static_cast<int>(bigEndian16(bytes + i + 6));
            }
            i += 1 + bigEndian16(bytes + i + 1);
            if (i >= size) return kJpegBroken;
        }
        if (i >= size || size - i == 4) return kJpegBroken;
    }
}
