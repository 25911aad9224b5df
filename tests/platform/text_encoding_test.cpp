#include "platform/text_encoding.h"

#include <gtest/gtest.h>

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
