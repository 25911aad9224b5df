#include "platform/cp932_tables.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <memory>

namespace platform {

namespace {

using Converter = std::unique_ptr<UConverter, void (*)(UConverter*)>;

// CP932 with both directions stopping at the first code without a mapping.
Converter openStrictCp932() {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-31j", &status), ucnv_close);
    if (U_FAILURE(status)) return Converter(nullptr, ucnv_close);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status)) return Converter(nullptr, ucnv_close);
    return converter;
}

// What ICU makes of `code` alone, if that converts whole to at most three
// bytes of UTF-8 (every mapped CP932 code gives one BMP character).
Utf8Char decoded(UConverter* cp932, const char* code, int length) {
    UChar units[4];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(cp932);
    std::int32_t unitCount = ucnv_toUChars(cp932, units, 4, code, length, &status);
    char utf8[8];
    std::int32_t utf8Length = 0;
    if (U_SUCCESS(status)) u_strToUTF8(utf8, 8, &utf8Length, units, unitCount, &status);
    if (U_FAILURE(status) || utf8Length < 1 || utf8Length > 3) return 0;
    Utf8Char character = Utf8Char(utf8Length) << 24;
    for (std::int32_t i = 0; i < utf8Length; ++i) character |= Utf8Char(static_cast<unsigned char>(utf8[i])) << (8 * i);
    return character;
}

// What ICU makes of `codePoint`, if that is at most two bytes.
std::uint16_t encoded(UConverter* cp932, char32_t codePoint) {
    UChar units[2];
    std::int32_t unitCount = 0;
    U16_APPEND_UNSAFE(units, unitCount, codePoint);
    char bytes[4];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(cp932);
    std::int32_t length = ucnv_fromUChars(cp932, bytes, 4, units, unitCount, &status);
    if (U_FAILURE(status) || length > 2) return kNoCp932;
    if (length == 0) return kDroppedInCp932;
    auto first = static_cast<unsigned char>(bytes[0]);
    if (length == 1) return first;
    auto code = std::uint16_t(first << 8 | static_cast<unsigned char>(bytes[1]));
    return first == 0 || code == kNoCp932 || code == kDroppedInCp932 ? kNoCp932 : code;
}

Cp932Decoding buildDecoding() {
    Cp932Decoding tables;
    tables.pairs.resize(0x10000, 0);
    Converter cp932 = openStrictCp932();
    if (!cp932) return tables;
    for (int lead = 0; lead < 256; ++lead) {
        const char one = char(lead);
        tables.single[std::size_t(lead)] = decoded(cp932.get(), &one, 1);
        if (tables.single[std::size_t(lead)]) continue;
        for (int trail = 0; trail < 256; ++trail) {
            const char two[2] = {char(lead), char(trail)};
            tables.pairs[std::size_t(lead << 8 | trail)] = decoded(cp932.get(), two, 2);
        }
    }
    return tables;
}

// The code point of a packed UTF-8 character of at most three bytes.
char32_t codePointOf(Utf8Char character) {
    unsigned first = character & 0xFF, second = character >> 8 & 0x3F, third = character >> 16 & 0x3F;
    switch (utf8Length(character)) {
    case 1:
        return first;
    case 2:
        return (first & 0x1F) << 6 | second;
    default:
        return (first & 0x0F) << 12 | second << 6 | third;
    }
}

Cp932Decoding buildExactDecoding() {
    Cp932Decoding tables = cp932Decoding();
    const Cp932Encoding& encoding = cp932Encoding();
    for (unsigned code = 0; code < 256; ++code)
        if (tables.single[code] && encoding[codePointOf(tables.single[code])] != code) tables.single[code] = 0;
    for (unsigned code = 0; code < tables.pairs.size(); ++code)
        if (tables.pairs[code] && encoding[codePointOf(tables.pairs[code])] != code) tables.pairs[code] = 0;
    return tables;
}

Cp932Encoding buildExactEncoding() {
    Cp932Encoding table = cp932Encoding();
    const Cp932Decoding& exact = cp932ExactDecoding();
    for (char32_t c = 0; c < table.size(); ++c) {
        std::uint16_t code = table[c];
        if (code >= kDroppedInCp932) continue;
        Utf8Char back = code < 0x100 ? exact.single[code] : exact.pairs[code];
        if (!back || codePointOf(back) != c) table[c] = kNoCp932;
    }
    return table;
}

Cp932Encoding buildEncoding() {
    Cp932Encoding table(0x10000, kNoCp932);
    Converter cp932 = openStrictCp932();
    if (!cp932) return table;
    for (char32_t unit = 0; unit < 0x10000; ++unit)
        if (unit < 0xD800 || unit > 0xDFFF) table[unit] = encoded(cp932.get(), unit);
    return table;
}

} // namespace

const Cp932Decoding& cp932Decoding() {
    static const Cp932Decoding tables = buildDecoding();
    return tables;
}

const Cp932Encoding& cp932Encoding() {
    static const Cp932Encoding table = buildEncoding();
    return table;
}

const Cp932Decoding& cp932ExactDecoding() {
    static const Cp932Decoding tables = buildExactDecoding();
    return tables;
}

const Cp932Encoding& cp932ExactEncoding() {
    static const Cp932Encoding table = buildExactEncoding();
    return table;
}

std::uint16_t cp932BeyondBmp(char32_t codePoint) {
    thread_local Converter cp932 = openStrictCp932();
    return cp932 ? encoded(cp932.get(), codePoint) : kNoCp932;
}

std::uint16_t cp932Fallback(char32_t codePoint) {
    thread_local Converter cp932 = [] {
        Converter converter = openStrictCp932();
        if (converter) ucnv_setFallback(converter.get(), true);
        return converter;
    }();
    if (!cp932) return kNoCp932;
    std::uint16_t code = encoded(cp932.get(), codePoint);
    return code == kDroppedInCp932 ? kNoCp932 : code;
}

} // namespace platform
