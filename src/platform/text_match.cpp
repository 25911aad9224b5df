// text_match.cpp - folding keys built on ICU's character properties.
//
// Each character folds to a short key (usually one code point, none for an
// ignored symbol or mark, several for a decomposed letter). Keys of the BMP are
// computed once per option set into a table, so searching many cells costs a
// table lookup per character; characters beyond the BMP are folded directly.
#include "platform/text_match.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>

#include <array>
#include <memory>
#include <string>
#include <mutex>
#include <vector>

namespace platform {

namespace {

constexpr unsigned kOptionSets = 32;

bool isSymbol(UChar32 c) {
    switch (u_charType(c)) {
    case U_CONNECTOR_PUNCTUATION:
    case U_DASH_PUNCTUATION:
    case U_START_PUNCTUATION:
    case U_END_PUNCTUATION:
    case U_INITIAL_PUNCTUATION:
    case U_FINAL_PUNCTUATION:
    case U_OTHER_PUNCTUATION:
    case U_MATH_SYMBOL:
    case U_CURRENCY_SYMBOL:
    case U_MODIFIER_SYMBOL:
    case U_OTHER_SYMBOL:
    case U_SPACE_SEPARATOR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
        return true;
    default:
        return false;
    }
}

bool isWidthVariant(UChar32 c) {
    int type = u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE);
    return type == U_DT_WIDE || type == U_DT_NARROW;
}

void appendDecomposition(const icu::Normalizer2& normalizer, UChar32 c, std::u32string& out) {
    icu::UnicodeString decomposed;
    if (!normalizer.getDecomposition(c, decomposed)) {
        out += char32_t(c);
        return;
    }
    for (int32_t i = 0; i < decomposed.length(); i = decomposed.moveIndex32(i, 1))
        out += char32_t(decomposed.char32At(i));
}

// The key of one code point under `options`. Width first (ｶ and Ａ become
// カ and A), then the canonical decomposition (が is か and a voicing mark),
// then marks, kana, case and symbols on each resulting code point.
std::u32string foldCodePoint(char32_t c, unsigned options) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(status);
    std::u32string parts;
    if (U_FAILURE(status)) return std::u32string(1, c);
    if ((options & kMatchIgnoreWidth) && isWidthVariant(UChar32(c)))
        appendDecomposition(*nfkd, UChar32(c), parts);
    else
        appendDecomposition(*nfd, UChar32(c), parts);
    std::u32string key;
    for (char32_t d : parts) {
        if ((options & kMatchIgnoreNonSpace) && u_charType(UChar32(d)) == U_NON_SPACING_MARK) continue;
        if ((options & kMatchIgnoreKanaType) && ((d >= 0x3041 && d <= 0x3096) || d == 0x309D || d == 0x309E))
            d += 0x60; // hiragana to the katakana of the same syllable
        if (options & kMatchIgnoreCase) d = char32_t(u_foldCase(UChar32(d), U_FOLD_CASE_DEFAULT));
        if ((options & kMatchIgnoreSymbols) && isSymbol(UChar32(d))) continue;
        key += d;
    }
    return key;
}

// Keys of every BMP code point for one option set: code point c folds to
// pool[start[c] .. start[c + 1]).
struct FoldTable {
    std::vector<std::uint32_t> start;
    std::u32string pool;
    std::vector<bool> combining; // marks that belong to the character before them
};

bool isCombining(char32_t c) {
    int type = u_charType(UChar32(c));
    return type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK;
}

const FoldTable& foldTable(unsigned options) {
    static std::array<std::unique_ptr<FoldTable>, kOptionSets> tables;
    static std::array<std::once_flag, kOptionSets> built;
    options &= kOptionSets - 1;
    std::call_once(built[options], [options] {
        auto table = std::make_unique<FoldTable>();
        table->start.reserve(0x10001);
        table->combining.resize(0x10000);
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            table->combining[c] = isCombining(c);
            table->start.push_back(std::uint32_t(table->pool.size()));
            table->pool += (c >= 0xD800 && c <= 0xDFFF) ? std::u32string(1, c) : foldCodePoint(c, options);
        }
        table->start.push_back(std::uint32_t(table->pool.size()));
        tables[options] = std::move(table);
    });
    return *tables[options];
}

inline void appendKey(const FoldTable& table, char32_t c, unsigned options, std::u32string& key) {
    if (c > 0xFFFF) {
        key += foldCodePoint(c, options);
        return;
    }
    const std::uint32_t begin = table.start[c], length = table.start[c + 1] - begin;
    if (length == 1)
        key.push_back(table.pool[begin]); // most characters fold to one code point
    else
        key.append(table.pool, begin, length);
}

// Decodes one UTF-8 character at `at`; a malformed byte reads as U+FFFD and
// takes one byte, so every byte of the text belongs to exactly one character.
char32_t decodeSlow(std::string_view text, std::size_t& at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return lead < 0x80 ? lead : 0xFFFD;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return 0xFFFD;
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++at;
        return 0xFFFD;
    }
    at += length;
    return c;
}

inline char32_t decodeAt(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    return decodeSlow(text, at);
}

// A text cut into characters (a letter with its combining marks is one; so
// is a half-width kana with its voicing mark): character i spans bytes [bytes[i], bytes[i + 1])
// and folds to key[keys[i] .. keys[i + 1]).
struct FoldedText {
    std::vector<std::uint32_t> bytes;
    std::vector<std::uint32_t> keys;
    std::u32string key;
    std::size_t characters() const { return bytes.size() - 1; }
};

// A half-width katakana and a following half-width voicing mark that together
// stand for one full-width letter (ｶﾞ for ガ).
bool voicedPair(char32_t first, char32_t second) {
    if (first < 0xFF66 || first > 0xFF9D || (second != 0xFF9E && second != 0xFF9F)) return false;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return false;
    icu::UnicodeString base;
    icu::Normalizer2::getNFKDInstance(status)->getDecomposition(UChar32(first), base);
    if (U_FAILURE(status) || base.countChar32() != 1) return false;
    return nfc->composePair(base.char32At(0), second == 0xFF9E ? 0x3099 : 0x309A) >= 0;
}

// Folds into `folded`, reusing its storage: searching calls this per cell.
// Each character is decoded once; the one that ends a run of marks starts
// the next character.
void fold(std::string_view text, unsigned options, FoldedText& folded) {
    const FoldTable& table = foldTable(options);
    folded.bytes.clear();
    folded.keys.clear();
    folded.key.clear();
    folded.bytes.reserve(text.size() + 1);
    folded.keys.reserve(text.size() + 1);
    folded.key.reserve(text.size());
    auto joinsBefore = [&](char32_t mark) {
        return mark <= 0xFFFF ? bool(table.combining[mark]) : isCombining(mark);
    };
    std::size_t at = 0;
    if (at < text.size()) {
        std::size_t start = at;
        char32_t c = decodeAt(text, at);
        for (;;) {
            folded.bytes.push_back(std::uint32_t(start));
            folded.keys.push_back(std::uint32_t(folded.key.size()));
            appendKey(table, c, options, folded.key);
            // Combining marks belong to the character before them.
            bool first = true, more = false;
            char32_t next = 0;
            while (at < text.size()) {
                start = at;
                next = decodeAt(text, at);
                if (!joinsBefore(next) && !(first && voicedPair(c, next))) {
                    more = true;
                    break;
                }
                appendKey(table, next, options, folded.key);
                first = false;
            }
            if (!more) break;
            c = next;
        }
    }
    folded.bytes.push_back(std::uint32_t(text.size()));
    folded.keys.push_back(std::uint32_t(folded.key.size()));
}

struct FoldedPair {
    FoldedText search, text;
};

// The folded search text and cell, in storage kept per thread. A search of
// many cells folds its search text once.
FoldedPair& foldBoth(std::string_view search, std::string_view text, unsigned options) {
    thread_local FoldedPair pair;
    thread_local std::string lastSearch;
    thread_local unsigned lastOptions = ~0u;
    if (options != lastOptions || search != lastSearch) {
        fold(search, options, pair.search);
        lastSearch.assign(search);
        lastOptions = options;
    }
    fold(text, options, pair.text);
    return pair;
}

bool windowEquals(const FoldedText& text, std::size_t first, std::size_t count, const std::u32string& key) {
    std::size_t begin = text.keys[first], end = text.keys[first + count];
    return end - begin == key.size() && text.key.compare(begin, key.size(), key) == 0;
}

} // namespace

bool matchText(std::string_view search, std::string_view text, unsigned options) {
    if (search.empty()) return true;
    const auto& [s, t] = foldBoth(search, text, options);
    std::size_t k = s.characters(), m = t.characters();
    if (m < k) return false;
    for (std::size_t i = 0; i + k <= m; ++i)
        if (windowEquals(t, i, k, s.key)) return true;
    return false;
}

bool replaceInText(std::string_view search, std::string_view text, std::string_view replacement,
                   unsigned options, std::string& result) {
    result.clear();
    if (search.empty()) {
        result.assign(text);
        return false;
    }
    const auto& [s, t] = foldBoth(search, text, options);
    const std::size_t k = s.characters(), m = t.characters();
    bool replaced = false;
    std::size_t copiedTo = 0; // bytes of `text` already in the result
    for (std::size_t i = 0; i + k <= m;) {
        if (!windowEquals(t, i, k, s.key)) {
            ++i;
            continue;
        }
        result.append(text, copiedTo, t.bytes[i] - copiedTo);
        result += replacement;
        copiedTo = t.bytes[i + k];
        replaced = true;
        i += k;
    }
    result.append(text, copiedTo);
    return replaced;
}

} // namespace platform
