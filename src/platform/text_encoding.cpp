#include "platform/text_encoding.h"

#include <bit>
#include <cstring>

#include "platform/cp932_tables.h"

namespace platform {

namespace {

bool isTrail(unsigned char c) { return (c & 0xC0) == 0x80; }

// The CP932 form of `in`, written at `out`, which has room for in.size()
// bytes (no character takes more bytes in CP932 than in UTF-8); the end of
// what was written, or nullptr.
char* encode(std::string_view in, char* out) {
    const std::uint16_t* table = cp932Encoding().data();
    auto p = reinterpret_cast<const unsigned char*>(in.data());
    const unsigned char* end = p + in.size();
    while (p < end) {
        unsigned c = *p;
        std::uint16_t code = 0;
        if (c < 0x80) {
            code = table[c];
            p += 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (end - p < 2 || !isTrail(p[1])) return nullptr;
            code = table[(c & 0x1F) << 6 | (p[1] & 0x3F)];
            p += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            // No overlong forms (E0 80..9F) and no surrogates (ED A0..BF).
            unsigned low = c == 0xE0 ? 0xA0 : 0x80, high = c == 0xED ? 0x9F : 0xBF;
            if (end - p < 3 || p[1] < low || p[1] > high || !isTrail(p[2])) return nullptr;
            code = table[(c & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F)];
            p += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            // Beyond the BMP (F0 90 .. F4 8F) nothing has a code, but some are dropped.
            unsigned low = c == 0xF0 ? 0x90 : 0x80, high = c == 0xF4 ? 0x8F : 0xBF;
            if (end - p < 4 || p[1] < low || p[1] > high || !isTrail(p[2]) || !isTrail(p[3])) return nullptr;
            code = cp932BeyondBmp(char32_t((c & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F)));
            p += 4;
        } else {
            return nullptr;
        }
        if (code == kNoCp932) return nullptr;
        if (code == kDroppedInCp932) continue;
        if (code >= 0x100) *out++ = char(code >> 8);
        *out++ = char(code);
    }
    return out;
}

// The UTF-8 form of `in`, written at `out`, which has room for 3 in.size() + 1
// bytes (each character is copied as four bytes, of which its length count);
// the end of what was written, or nullptr.
char* decode(std::string_view in, char* out) {
    static_assert(std::endian::native == std::endian::little, "a packed character is stored first byte first");
    const Cp932Decoding& tables = cp932Decoding();
    const Utf8Char* single = tables.single.data();
    const Utf8Char* pairs = tables.pairs.data();
    auto p = reinterpret_cast<const unsigned char*>(in.data());
    const unsigned char* end = p + in.size();
    while (p < end) {
        Utf8Char character = single[*p];
        if (character) {
            p += 1;
        } else {
            if (end - p < 2) return nullptr;
            character = pairs[std::size_t(p[0] << 8 | p[1])];
            if (!character) return nullptr;
            p += 2;
        }
        std::memcpy(out, &character, 4);
        out += utf8Length(character);
    }
    return out;
}

// Appends what `convert` makes of `in` into at most `bound` bytes.
bool append(std::string& out, std::string_view in, std::size_t bound, char* (*convert)(std::string_view, char*)) {
    std::size_t start = out.size();
    out.resize(start + bound);
    char* end = convert(in, out.data() + start);
    out.resize(end ? std::size_t(end - out.data()) : start);
    return end != nullptr;
}

} // namespace

bool appendCp932(std::string& out, std::string_view utf8) { return append(out, utf8, utf8.size(), encode); }

bool appendUtf8FromCp932(std::string& out, std::string_view cp932) {
    return append(out, cp932, cp932.size() * 3 + 1, decode);
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    std::string out;
    if (!appendCp932(out, utf8)) return std::nullopt;
    return out;
}

std::optional<std::string> cp932ToUtf8(std::string_view cp932) {
    std::string out;
    if (!appendUtf8FromCp932(out, cp932)) return std::nullopt;
    return out;
}

} // namespace platform
