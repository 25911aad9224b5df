// jpeg_bytes.h - hand-made JPEG marker streams for the structural check.
#pragma once

#include <string>

namespace testing_support {

// SOI, an APP0 segment, a baseline (or progressive) frame header of the given
// size, a start of scan, `scanBytes` bytes of entropy data, EOI, then `trailing` zeros.
inline std::string jpegBytes(int width, int height, std::size_t scanBytes = 16,
                             std::size_t trailing = 0, bool progressive = false) {
    std::string out = "\xFF\xD8";
    out += std::string("\xFF\xE0\x00\x06JFIF", 8);
    const char frame = progressive ? '\xC2' : '\xC0';
    out += std::string("\xFF") + frame + std::string("\x00\x0B\x08", 3);
    out += static_cast<char>(height >> 8);
    out += static_cast<char>(height & 0xFF);
    out += static_cast<char>(width >> 8);
    out += static_cast<char>(width & 0xFF);
    out += std::string("\x01\x01\x11\x00", 4);
    out += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
    out += std::string(scanBytes, '\x5A');
    out += "\xFF\xD9";
    out += std::string(trailing, '\0');
    return out;
}

} // namespace testing_support
