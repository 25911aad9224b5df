#include "platform/cp932_nearest.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <utility>

#include "platform/cp932_tables.h"

namespace platform {

namespace {

// Latin-1 signs whose CP932 form is the full-width one (no fallback of ICU's
// says so, and their decompositions lead elsewhere).
constexpr std::pair<char32_t, char32_t> kFullWidthSigns[] = {
    {0x00A2, 0xFFE0}, // ¢
    {0x00A3, 0xFFE1}, // £
    {0x00AC, 0xFFE2}, // ¬
    {0x00AF, 0xFFE3}, // ¯
};

bool isAccent(char32_t c) {
    auto type = u_charType(UChar32(c));
    return type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK;
}

std::size_t put(std::uint16_t code, char* at) {
    if (code < 0x100) {
        at[0] = char(code);
        return 1;
    }
    at[0] = char(code >> 8);
    at[1] = char(code);
    return 2;
}

// The character's own code, else ICU's fallback; kNoCp932 when neither.
std::uint16_t codeOrFallback(char32_t c) {
    std::uint16_t code = c < 0x10000 ? cp932Encoding()[c] : kNoCp932;
    return code < kDroppedInCp932 ? code : cp932Fallback(c);
}

// The letters of `c`'s compatibility form, composed (㌀ as アパート) or
// else decomposed (é as e), with the accents left out, into `form`; 0 when
// some letter has no form, or they pass kNearestCp932Most.
std::size_t compatibilityForm(char32_t c, char* form) {
    UChar source[2];
    std::int32_t sourceLength = 0;
    U16_APPEND_UNSAFE(source, sourceLength, UChar32(c));
    UErrorCode status = U_ZERO_ERROR;
    for (const UNormalizer2* normalizer : {unorm2_getNFKCInstance(&status), unorm2_getNFKDInstance(&status)}) {
        UChar parts[32];
        std::int32_t length = U_SUCCESS(status) ? unorm2_normalize(normalizer, source, sourceLength, parts, 32, &status) : 0;
        if (U_FAILURE(status)) return 0;
        std::size_t n = 0;
        for (std::int32_t i = 0; i < length && n != kNearestCp932Most + 1;) {
            UChar32 part;
            U16_NEXT(parts, i, length, part);
            if (isAccent(char32_t(part))) continue;
            std::uint16_t code = codeOrFallback(char32_t(part));
            n = code >= kDroppedInCp932 || n + 2 > kNearestCp932Most ? kNearestCp932Most + 1 : n + put(code, form + n);
        }
        if (n <= kNearestCp932Most && n > 0) return n;
    }
    return 0;
}

} // namespace

std::size_t nearestCp932(char32_t codePoint, char* form) {
    if (std::uint16_t code = cp932Fallback(codePoint); code != kNoCp932) return put(code, form);
    for (auto [sign, fullWidth] : kFullWidthSigns)
        if (codePoint == sign) return put(cp932Encoding()[fullWidth], form);
    if (std::size_t n = compatibilityForm(codePoint, form)) return n;
    if (isAccent(codePoint)) return 0;
    form[0] = '?';
    return 1;
}

} // namespace platform
