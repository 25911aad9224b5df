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

std::uint16_t cp932BeyondBmp(char32_t codePoint) {
    thread_local Converter cp932 = openStrictCp932();
    return cp932 ? encoded(cp932.get(), codePoint) : kNoCp932;
}

} // namespace platform
