#include "platform/text_encoding.h"

#include <bit>
#include <cstring>

#include "platform/cp932_nearest.h"
#include "platform/cp932_tables.h"

namespace platform {

namespace {

bool isTrail(unsigned c) { return (c & 0xC0) == 0x80; }

constexpr char32_t kMalformed = 0xFFFFFFFF;

// The code point of the UTF-8 sequence at `p` other than ASCII, moving `p`
// past it; kMalformed, with `p` left as it was, when the sequence is not
// well formed.
char32_t codePointAt(const unsigned char*& p, const unsigned char* end) {
    unsigned c = p[0];
    std::ptrdiff_t left = end - p;
    if (c >= 0xC2 && c <= 0xDF) {
        if (left < 2 || !isTrail(p[1])) return kMalformed;
        p += 2;
        return (c & 0x1F) << 6 | (p[-1] & 0x3F);
    }
    if (c >= 0xE0 && c <= 0xEF) {
        // No overlong forms (E0 80..9F) and no surrogates (ED A0..BF).
        unsigned low = c == 0xE0 ? 0xA0 : 0x80, high = c == 0xED ? 0x9F : 0xBF;
        if (left < 3 || p[1] < low || p[1] > high || !isTrail(p[2])) return kMalformed;
        p += 3;
        return (c & 0x0F) << 12 | (p[-2] & 0x3F) << 6 | (p[-1] & 0x3F);
    }
    if (c >= 0xF0 && c <= 0xF4) {
        unsigned low = c == 0xF0 ? 0x90 : 0x80, high = c == 0xF4 ? 0x8F : 0xBF;
        if (left < 4 || p[1] < low || p[1] > high || !isTrail(p[2]) || !isTrail(p[3])) return kMalformed;
        p += 4;
        return (c & 0x07) << 18 | (p[-3] & 0x3F) << 12 | (p[-2] & 0x3F) << 6 | (p[-1] & 0x3F);
    }
    return kMalformed;
}

// The code of a code point: a code of the table for the BMP; beyond it
// nothing has a code, but some are dropped.
std::uint16_t codeOf(char32_t c, const std::uint16_t* table) {
    return c < 0x10000 ? table[c] : cp932BeyondBmp(c);
}

// The code of the UTF-8 character at `p` other than ASCII, moving `p` past
// it: a code of the table, or kNoCp932 when the sequence is malformed.
std::uint16_t codeOfSequence(const unsigned char*& p, const unsigned char* end, const std::uint16_t* table) {
    char32_t c = codePointAt(p, end);
    return c == kMalformed ? kNoCp932 : codeOf(c, table);
}

char* putCode(std::uint16_t code, char* out) {
    if (code >= 0x100) *out++ = char(code >> 8);
    *out++ = char(code);
    return out;
}

char* putUtf8(char32_t c, char* out) {
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | c >> 6);
        *out++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | c >> 12);
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xF0 | c >> 18);
        *out++ = char(0x80 | (c >> 12 & 0x3F));
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

} // namespace

// The codes `table` has for the characters at `p`, up to the end or to the
// first character without one (a malformed sequence, a character without a
// code or one dropped), where `p` is left. No character takes more bytes in
// CP932 than in UTF-8.
char* putCodes(const unsigned char*& p, const unsigned char* end, const std::uint16_t* table, char* out) {
    while (p < end) {
        const unsigned char* at = p;
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
        if (code >= kDroppedInCp932) {
            p = at;
            break;
        }
        out = putCode(code, out);
    }
    return out;
}

char* writeCp932(std::string_view in, char* out) {
    const std::uint16_t* table = cp932Encoding().data();
    auto p = reinterpret_cast<const unsigned char*>(in.data());
    const unsigned char* end = p + in.size();
    for (;;) {
        out = putCodes(p, end, table, out);
        if (p == end) return out;
        char32_t c = codePointAt(p, end);
        if (c == kMalformed || codeOf(c, table) != kDroppedInCp932) return nullptr;
    }
}

// The characters `tables` has for the bytes at `p`, up to the end or to the
// first byte that begins none, where `p` is left. A byte becomes at most
// three, and each character is stored as four bytes of which its length
// count.
char* putCharacters(const unsigned char*& from, const unsigned char* end, const Cp932Decoding& tables, char* out) {
    static_assert(std::endian::native == std::endian::little, "a packed character is stored first byte first");
    const Utf8Char* single = tables.single.data();
    const Utf8Char* pairs = tables.pairs.data();
    const unsigned char* p = from; // a local the loop keeps in a register
    while (p < end) {
        Utf8Char character = single[*p];
        if (character) {
            p += 1;
        } else {
            if (end - p < 2) break;
            character = pairs[std::size_t(p[0] << 8 | p[1])];
            if (!character) break;
            p += 2;
        }
        std::memcpy(out, &character, 4);
        out += utf8Length(character);
    }
    from = p;
    return out;
}

char* writeUtf8FromCp932(std::string_view in, char* out) {
    auto p = reinterpret_cast<const unsigned char*>(in.data());
    const unsigned char* end = p + in.size();
    out = putCharacters(p, end, cp932Decoding(), out);
    return p == end ? out : nullptr;
}

// How many bytes at `p`, which begin no character whose code they are,
// become stand-ins: both bytes of a pair that stands for a character written
// otherwise, else the one byte.
std::size_t standInCount(const unsigned char* p, const unsigned char* end) {
    const Cp932Decoding& any = cp932Decoding();
    return !any.single[*p] && end - p >= 2 && any.pairs[std::size_t(p[0] << 8 | p[1])] ? 2 : 1;
}

// A character stands for its own code only when writing it gives that code
// back (cp932ExactDecoding); anything else becomes stand-ins.
char* writeUtf8KeepingBytes(std::string_view in, char* out) {
    const Cp932Decoding& exact = cp932ExactDecoding();
    auto p = reinterpret_cast<const unsigned char*>(in.data());
    const unsigned char* end = p + in.size();
    while ((out = putCharacters(p, end, exact, out), p < end)) {
        std::size_t count = standInCount(p, end);
        for (std::size_t i = 0; i < count; ++i) out = putUtf8(kByteStandIn + p[i], out);
        p += count;
    }
    return out;
}

// The form of one character of `in` at `p` that has no exact code, which
// `codePoint` (kMalformed for a byte that is not UTF-8, `p` then left on it)
// and its `code` describe. Moves `p` past it and tells what kind it was.
std::size_t nearestForm(const unsigned char*& p, char32_t codePoint, std::uint16_t code, char* form, bool& exact,
                        bool& standIn) {
    if (codePoint == kMalformed) {
        form[0] = char(*p++);
        exact = false;
        return 1;
    }
    if (codePoint >= kByteStandIn && codePoint <= kByteStandIn + 0xFF) {
        form[0] = char(codePoint - kByteStandIn);
        standIn = true;
        return 1;
    }
    exact = false;
    return code == kDroppedInCp932 ? 0 : nearestCp932(codePoint, form);
}

NearestCp932 writeNearestCp932(std::string_view in, std::size_t limit, char* out) {
    const std::uint16_t* table = cp932ExactEncoding().data();
    auto p = reinterpret_cast<const unsigned char*>(in.data());
    const unsigned char* end = p + in.size();
    char* const start = out;
    char* const outEnd = out + limit;
    // Codes are never longer than their characters in UTF-8, so a text that
    // fits the limit runs without a look at the room until a character
    // without its own code.
    if (in.size() <= limit) out = putCodes(p, end, table, out);
    NearestCp932 result;
    bool standIns = false;
    while (p < end) {
        const unsigned char* at = p;
        char32_t codePoint = p[0] < 0x80 ? *p++ : codePointAt(p, end);
        std::uint16_t code = codePoint == kMalformed ? kNoCp932 : codeOf(codePoint, table);
        char form[kNearestCp932Most];
        std::size_t length = code < kDroppedInCp932 ? std::size_t(putCode(code, form) - form)
                                                    : nearestForm(p, codePoint, code, form, result.exact, standIns);
        if (std::size_t(outEnd - out) < length) {
            p = at;
            break;
        }
        std::memcpy(out, form, length);
        out += length;
    }
    result.length = std::size_t(out - start);
    result.taken = std::size_t(p - reinterpret_cast<const unsigned char*>(in.data()));
    // A stand-in's byte may join the next byte into a character when read back.
    if (result.exact && standIns) {
        std::string back(utf8KeepingRoom(result.length), '\0');
        back.resize(std::size_t(writeUtf8KeepingBytes({start, result.length}, back.data()) - back.data()));
        result.exact = back == in.substr(0, result.taken);
    }
    return result;
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
