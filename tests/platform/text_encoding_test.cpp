#include "platform/text_encoding.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/cp932_tables.h"

using namespace platform;

TEST(TextEncoding, RoundTripsJapaneseTexts) {
    const std::string text = "漫画・ｶﾀｶﾅ～①髙 ABC";
    auto encoded = utf8ToCp932(text);
    ASSERT_TRUE(encoded.has_value());
    EXPECT_EQ(cp932ToUtf8(*encoded), text);
    EXPECT_EQ(utf8ToCp932(""), "");
}

TEST(TextEncoding, UsesTheWindowsMappings) {
    // The wave dash and full-width minus of CP932 are U+FF5E and U+FF0D.
    EXPECT_EQ(utf8ToCp932("～－"), std::string("\x81\x60\x81\x7c"));
    EXPECT_EQ(cp932ToUtf8("\x81\x60"), "～");
    EXPECT_EQ(utf8ToCp932("ｱ"), std::string("\xb1"));
}

TEST(TextEncoding, RefusesWhatItCannotHoldInsteadOfReplacingIt) {
    EXPECT_FALSE(utf8ToCp932("한국어").has_value());
    EXPECT_FALSE(utf8ToCp932("emoji \xF0\x9F\x98\x80").has_value());
    EXPECT_FALSE(utf8ToCp932("bad \xff").has_value());
    EXPECT_FALSE(cp932ToUtf8("\x81").has_value());
    EXPECT_FALSE(cp932ToUtf8("\x81\x20").has_value());
}

// --- Against ICU's own converter, the reference the tables come from --------

namespace {

using Converter = std::unique_ptr<UConverter, void (*)(UConverter*)>;

Converter strictConverter(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status), ucnv_close);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    EXPECT_TRUE(U_SUCCESS(status)) << name;
    return converter;
}

// ICU converting all of `in` in one call, failing at the first code it
// cannot map.
class IcuReference {
public:
    std::optional<std::string> toCp932(std::string_view utf8) { return convert(cp932_.get(), utf8_.get(), utf8); }
    std::optional<std::string> toUtf8(std::string_view cp932) { return convert(utf8_.get(), cp932_.get(), cp932); }

private:
    static std::optional<std::string> convert(UConverter* to, UConverter* from, std::string_view in) {
        std::string out(in.size() * 3 + 4, '\0');
        char* target = out.data();
        const char* source = in.data();
        UErrorCode status = U_ZERO_ERROR;
        ucnv_convertEx(to, from, &target, out.data() + out.size(), &source, in.data() + in.size(), nullptr,
                       nullptr, nullptr, nullptr, true, true, &status);
        if (U_FAILURE(status)) return std::nullopt;
        out.resize(std::size_t(target - out.data()));
        return out;
    }

    Converter utf8_ = strictConverter("UTF-8");
    Converter cp932_ = strictConverter("windows-31j");
};

std::string utf8Of(char32_t c) {
    if (c < 0x80) return {char(c)};
    if (c < 0x800) return {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    if (c < 0x10000) return {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    return {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
}

std::string hex(std::string_view bytes) {
    std::string out;
    char digits[4];
    for (char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", static_cast<unsigned char>(c));
        out += digits;
    }
    return out;
}

} // namespace

TEST(TextEncoding, EveryCp932CodeReadsAsIcuReadsIt) {
    IcuReference icu;
    int mapped = 0;
    for (int lead = 0; lead < 256; ++lead) {
        std::string one(1, char(lead));
        ASSERT_EQ(cp932ToUtf8(one), icu.toUtf8(one)) << hex(one);
        for (int trail = 0; trail < 256; ++trail) {
            std::string two = {char(lead), char(trail)};
            std::optional<std::string> text = icu.toUtf8(two);
            ASSERT_EQ(cp932ToUtf8(two), text) << hex(two);
            if (!text) continue;
            ++mapped;
            // Back again as ICU writes it, which for the duplicate codes of
            // the NEC and IBM rows is the one code ICU prefers.
            ASSERT_EQ(utf8ToCp932(*text), icu.toCp932(*text)) << hex(two);
        }
    }
    EXPECT_GT(mapped, 7000 * 2); // each code also follows and precedes ASCII
}

TEST(TextEncoding, EveryCharacterWritesAsIcuWritesIt) {
    IcuReference icu;
    std::string all;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        std::string text = utf8Of(c);
        std::optional<std::string> code = icu.toCp932(text);
        ASSERT_EQ(utf8ToCp932(text), code) << std::hex << unsigned(c);
        if (!code) continue;
        ASSERT_EQ(cp932ToUtf8(*code), icu.toUtf8(*code)) << std::hex << unsigned(c);
        all += text;
    }
    // All of them in one text, as a list file converts them.
    std::optional<std::string> allCodes = icu.toCp932(all);
    ASSERT_TRUE(allCodes.has_value());
    EXPECT_EQ(utf8ToCp932(all), allCodes);
    EXPECT_EQ(cp932ToUtf8(*allCodes), icu.toUtf8(*allCodes));
    // Beyond the BMP nothing has a code; ICU leaves out the default-ignorable
    // characters there (tags, variation selectors) as it does in the BMP.
    for (char32_t c = 0x10000; c <= 0x10FFFF; ++c) {
        std::string text = utf8Of(c);
        ASSERT_EQ(utf8ToCp932(text), icu.toCp932(text)) << std::hex << unsigned(c);
    }
}

TEST(TextEncoding, MalformedUtf8FailsWhereIcuFails) {
    IcuReference icu;
    // Every lead byte with every next byte, alone and before more text: stray
    // trail bytes, overlong forms, cut sequences.
    for (int first = 0x80; first < 256; ++first)
        for (int second = 0; second < 256; ++second) {
            std::string text = {char(first), char(second)};
            ASSERT_EQ(utf8ToCp932(text), icu.toCp932(text)) << hex(text);
            ASSERT_EQ(utf8ToCp932(text + "漢"), icu.toCp932(text + "漢")) << hex(text);
        }
    // Three-byte forms with every second byte (overlong E0 80..9F, the
    // surrogates ED A0..BF) and third bytes around the trail range.
    const int thirds[] = {0x00, 0x41, 0x7F, 0x80, 0x81, 0xBF, 0xC0, 0xE3, 0xFF};
    for (int first = 0xE0; first < 0xF0; ++first)
        for (int second = 0; second < 256; ++second)
            for (int third : thirds) {
                std::string text = {char(first), char(second), char(third)};
                ASSERT_EQ(utf8ToCp932(text), icu.toCp932(text)) << hex(text);
            }
    // Four-byte forms (overlong F0 80..8F, past U+10FFFF from F4 90) and longer leads.
    for (int first = 0xF0; first < 256; ++first)
        for (int second = 0; second < 256; ++second)
            for (int third : thirds) {
                std::string text = {char(first), char(second), '\xA0', char(third)};
                ASSERT_EQ(utf8ToCp932(text), icu.toCp932(text)) << hex(text);
                text = {char(first), char(second), char(third), '\x80'};
                ASSERT_EQ(utf8ToCp932(text), icu.toCp932(text)) << hex(text);
            }
}

TEST(TextEncoding, DefaultIgnorableCharactersWithoutACodeAreLeftOut) {
    EXPECT_EQ(utf8ToCp932("a\u00ADb\uFEFFc\U000E0041"), "abc");
    EXPECT_FALSE(utf8ToCp932("a\u00ADb\U0001F600").has_value());
}

TEST(TextEncoding, WritingIntoACallersBufferStaysInItsRoom) {
    // Exactly the room each direction asks for, so that a write past it is
    // caught by the address sanitizer.
    const std::string text = "ｶﾀｶﾅ漢字abc";
    std::unique_ptr<char[]> cp932(new char[cp932Room(text.size())]);
    char* end = writeCp932(text, cp932.get());
    ASSERT_NE(end, nullptr);
    std::string_view code(cp932.get(), std::size_t(end - cp932.get()));
    EXPECT_EQ(code, "\xB6\xC0\xB6\xC5\x8A\xBF\x8E\x9A" "abc");
    const std::string kana(300, '\xB6'); // each byte three in UTF-8
    std::unique_ptr<char[]> utf8(new char[utf8Room(kana.size())]);
    end = writeUtf8FromCp932(kana, utf8.get());
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end - utf8.get(), 900);
    EXPECT_EQ(writeCp932("x한", cp932.get()), nullptr);
    EXPECT_EQ(writeUtf8FromCp932("\xB6\x8A", utf8.get()), nullptr);
}

// --- Keeping every byte and every character --------------------------------

namespace {

std::string keepingBytes(std::string_view cp932) {
    std::string out(utf8KeepingRoom(cp932.size()), '\0');
    out.resize(std::size_t(writeUtf8KeepingBytes(cp932, out.data()) - out.data()));
    return out;
}

struct Nearest {
    std::string bytes;
    std::size_t taken;
    bool exact;
};

Nearest nearest(std::string_view utf8, std::size_t limit = 1023) {
    std::string out(limit, '\0');
    NearestCp932 form = writeNearestCp932(utf8, limit, out.data());
    out.resize(form.length);
    return {out, form.taken, form.exact};
}

std::string standIn(unsigned byte) { return utf8Of(kByteStandIn + byte); }

} // namespace

TEST(KeepingTexts, EveryByteSequenceReadsAndWritesBackUnchanged) {
    // Every code alone, after ASCII and before ASCII: whatever ICU makes of
    // it, writing what was read gives the same bytes, as the same text.
    for (int lead = 1; lead < 256; ++lead)
        for (int trail = 1; trail < 256; ++trail)
            for (std::string bytes : {std::string{char(lead), char(trail)}, std::string{'a', char(lead), char(trail)},
                                      std::string{char(lead), char(trail), 'a'}, std::string{char(lead)}}) {
                std::string text = keepingBytes(bytes);
                Nearest back = nearest(text);
                ASSERT_EQ(back.bytes, bytes) << hex(bytes);
                ASSERT_EQ(back.taken, text.size()) << hex(bytes);
                ASSERT_TRUE(back.exact) << hex(bytes);
            }
}

TEST(KeepingTexts, OnlyCodesThatWriteBackAreReadAsCharacters) {
    // Every character written as exact reads back as itself (ICU writes a
    // few private-use characters with the codes of others: those are not).
    int exact = 0;
    for (char32_t c = 1; c <= kByteStandIn + 0xFF; c = c == 0xFFFF ? 0x1F000 : c == 0x1FFFF ? kByteStandIn : c + 1) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        Nearest written = nearest(utf8Of(c), 8);
        if (!written.exact) continue;
        ++exact;
        ASSERT_EQ(keepingBytes(written.bytes), utf8Of(c)) << std::hex << unsigned(c);
    }
    EXPECT_GT(exact, 7000 + 256); // the codes of CP932, and the stand-ins
    EXPECT_EQ(keepingBytes("\x95\x5C\xB6"), "表ｶ");
    // ≒ of the NEC row (87 90) and 纊 of the NEC-selected IBM rows (ED 40)
    // are written 81 E0 and FA 5C: their bytes are kept as they are.
    EXPECT_EQ(keepingBytes("\x87\x90"), standIn(0x87) + standIn(0x90));
    EXPECT_EQ(keepingBytes("\xED\x40x"), standIn(0xED) + standIn(0x40) + "x");
    // No character at all: the lead byte alone, the next byte afresh.
    EXPECT_EQ(keepingBytes("\x85\x40"), standIn(0x85) + "@");
    EXPECT_EQ(keepingBytes("a\x81"), "a" + standIn(0x81));
}

TEST(KeepingTexts, CharactersWithoutACodeTakeTheirNearestForm) {
    const std::pair<const char*, std::string> cases[] = {
        {"〜−—‖", "\x81\x60\x81\x7C\x81\x5C\x81\x61"}, // as ～－―∥
        {"¢£¬", "\x81\x91\x81\x92\x81\xCA"},            // as ￠￡￢
        {"剝", "\x94\x8D"},                             // as 剥
        {"café ﬁ", "cafe fi"},
        {"e\u0301", "e"},
        {"㌀", "\x83\x41\x83\x70\x81\x5B\x83\x67"}, // アパート
        {"한😀", "??"},
        {"a\u200Bb\u00AD\uFE0F", "ab"}, // default-ignorable: left out
        {"\xFF\x95\x5C", "\xFF\x95\x5C"}, // not UTF-8: the bytes as they are
    };
    for (const auto& [text, form] : cases) {
        Nearest got = nearest(text);
        EXPECT_EQ(got.bytes, form) << text;
        EXPECT_EQ(got.taken, std::strlen(text)) << text;
        EXPECT_FALSE(got.exact) << text;
    }
    EXPECT_TRUE(nearest("漫画・ｶﾀｶﾅ～①髙 ABC").exact);
    // A stand-in's byte that joins the next into a character does not come back.
    EXPECT_TRUE(nearest(standIn(0x81) + " ").exact);
    EXPECT_FALSE(nearest(standIn(0x81) + "A").exact);
}

TEST(KeepingTexts, WritingStopsBeforeTheCharacterThatPassesTheLimit) {
    Nearest cut = nearest("漢字", 3);
    EXPECT_EQ(cut.bytes, "\x8A\xBF");
    EXPECT_EQ(cut.taken, 3u);
    EXPECT_TRUE(cut.exact);
    cut = nearest("ab㌀", 8); // the eight bytes of アパート do not fit after ab
    EXPECT_EQ(cut.bytes, "ab");
    EXPECT_EQ(cut.taken, 2u);
    cut = nearest("ab\u200B", 2); // what takes no byte still fits
    EXPECT_EQ(cut.taken, 5u);
    EXPECT_FALSE(cut.exact);
}
