#include "platform/text_encoding.h"

#include <bit>
#include <cstring>

#include "platform/cp932_tables.h"

namespace platform {

namespace {

bool isTrail(unsigned c) { return (c & 0xC0) == 0x80; }

// The code of the UTF-8 character at `p` other than ASCII, moving `p` past
// it: a code of the table, or kNoCp932 when the sequence is malformed.
std::uint16_t codeOfSequence(const unsigned char*& p, const unsigned char* end, const std::uint16_t* table) {
    unsigned c = p[0];
    std::ptrdiff_t left = end - p;
    if (c >= 0xC2 && c <= 0xDF) {
        if (left < 2 || !isTrail(p[1])) return kNoCp932;
        p += 2;
        return table[(c & 0x1F) << 6 | (p[-1] & 0x3F)];
    }
    if (c >= 0xE0 && c <= 0xEF) {
        // No overlong forms (E0 80..9F) and no surrogates (ED A0..BF).
        unsigned low = c == 0xE0 ? 0xA0 : 0x80, high = c == 0xED ? 0x9F : 0xBF;
        if (left < 3 || p[1] < low || p[1] > high || !isTrail(p[2])) return kNoCp932;
        p += 3;
        return table[(c & 0x0F) << 12 | (p[-2] & 0x3F) << 6 | (p[-1] & 0x3F)];
    }
    if (c >= 0xF0 && c <= 0xF4) {
        // Beyond the BMP (F0 90 .. F4 8F) nothing has a code, but some are dropped.
        unsigned low = c == 0xF0 ? 0x90 : 0x80, high = c == 0xF4 ? 0x8F : 0xBF;
        if (left < 4 || p[1] < low || p[1] > high || !isTrail(p[2]) || !isTrail(p[3])) return kNoCp932;
        p += 4;
        return cp932BeyondBmp(char32_t((c & 0x07) << 18 | (p[-3] & 0x3F) << 12 | (p[-2] & 0x3F) << 6 | (p[-1] & 0x3F)));
    }
    return kNoCp932;
}

} // namespace

// No character takes more bytes in CP932 than in UTF-8.
char* writeCp932(std::string_view in, char* out) {
    const std::uint16_t* table = cp932Encoding().data();
    auto p = reinterpret_cast<const unsigned char*>(in.data());
    const unsigned char* end = p + in.size();
    while (p < end) {
        unsigned c = p[0];
        std::uint16_t code;
        if (c < 0x80) {
            code = table[c];
            p += 1;
        } else if (c >= 0xE1 && c != 0xED && c <= 0xEF && end - p >= 3 && isTrail(p[1]) && isTrail(p[2])) {
            // Where kana and kanji are, checked the short way.
            code = table[(c & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F)];
            p += 3;
        } else {
            code = codeOfSequence(p, end, table);
        }
        if (code == kNoCp932) return nullptr;
        if (code == kDroppedInCp932) continue;
        if (code >= 0x100) *out++ = char(code >> 8);
        *out++ = char(code);
    }
    return out;
}

// A byte becomes at most three, and each character is stored as four bytes
// of which its length count.
char* writeUtf8FromCp932(std::string_view in, char* out) {
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

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    std::string out(cp932Room(utf8.size()), '\0');
    char* end = writeCp932(utf8, out.data());
    if (!end) return std::nullopt;
    out.resize(std::size_t(end - out.data()));
    return out;
}

std::optional<std::string> cp932ToUtf8(std::string_view cp932) {
    std::string out(utf8Room(cp932.size()), '\0');
    char* end = writeUtf8FromCp932(cp932, out.data());
    if (!end) return std::nullopt;
    out.resize(std::size_t(end - out.data()));
    return out;
}

std::string_view utf8Prefix(std::string_view utf8, std::size_t limit) {
    if (utf8.size() <= limit) return utf8;
    std::size_t end = limit;
    while (end > 0 && isTrail(static_cast<unsigned char>(utf8[end])))
        --end;
    return utf8.substr(0, end);
}

} // namespace platform
