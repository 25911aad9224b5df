#include "platform/text_encoding.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <cstdio>
#include <memory>

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
